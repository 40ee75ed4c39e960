#include "portfolio/cover.h"

#include <algorithm>
#include <map>

namespace cover {

double MarginPerOption(risk::Right right, double strike, double price, double index, double marginFraction)
{
    const double reach = right == risk::Right::Call ? 2 * index - strike : 2 * strike - index;
    return std::max(price + marginFraction * reach, price);
}

double PairedMargin(const std::vector<WrittenContracts> &written)
{
    struct Side {
        std::vector<WrittenContracts> puts, calls;
    };
    // In the order of the days, so that the sum comes out the same in every run.
    std::map<qint64, Side> byExpiry;
    double margin = 0;
    for (const WrittenContracts &w : written) {
        if (!w.expiry.isValid() || w.amount <= 0) {
            margin += w.marginPerContract * std::max(w.amount, 0);
            continue;
        }
        Side &side = byExpiry[w.expiry.toJulianDay()];
        (w.right == risk::Right::Put ? side.puts : side.calls).push_back(w);
    }
    const auto dearestFirst = [](const WrittenContracts &a, const WrittenContracts &b) {
        return a.marginPerContract > b.marginPerContract;
    };
    const auto addRest = [&margin](const std::vector<WrittenContracts> &lines, size_t at, int left) {
        if (at >= lines.size())
            return;
        margin += left * lines[at].marginPerContract;
        for (size_t i = at + 1; i < lines.size(); ++i)
            margin += lines[i].amount * lines[i].marginPerContract;
    };
    for (auto &expiry : byExpiry) {
        Side &side = expiry.second;
        std::stable_sort(side.puts.begin(), side.puts.end(), dearestFirst);
        std::stable_sort(side.calls.begin(), side.calls.end(), dearestFirst);
        // Contract by contract down both lists, a line at a time.
        size_t put = 0, call = 0;
        int putsLeft = side.puts.empty() ? 0 : side.puts[0].amount;
        int callsLeft = side.calls.empty() ? 0 : side.calls[0].amount;
        while (put < side.puts.size() && call < side.calls.size()) {
            const int paired = std::min(putsLeft, callsLeft);
            margin += paired * std::max(side.puts[put].marginPerContract, side.calls[call].marginPerContract);
            putsLeft -= paired;
            callsLeft -= paired;
            if (putsLeft == 0 && ++put < side.puts.size())
                putsLeft = side.puts[put].amount;
            if (callsLeft == 0 && ++call < side.calls.size())
                callsLeft = side.calls[call].amount;
        }
        addRest(side.puts, put, putsLeft);
        addRest(side.calls, call, callsLeft);
    }
    return margin;
}

} // namespace cover
