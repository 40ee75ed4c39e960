#pragma once
// What written options ask of the writer's account: the cash that would cover every written put
// if it had to be bought in at its strike, and the margin that a broker asks, estimated by the
// rule that retail brokers publish. The estimate is no broker's own figure: each broker adds its
// own rules.

#include <QDate>

#include <vector>

#include "portfolio/risk.h"

namespace cover {

// The margin of one written option, in index points: the price plus the margin percentage of the
// index level, less what the option is out of the money, for a call P + p x (2S - E), for a put
// P + p x (2E - S); never below the price. marginFraction is the percentage as a fraction.
double MarginPerOption(risk::Right right, double strike, double price, double index,
                       double marginFraction);

// Contracts of one line of written options with their margin per contract.
struct WrittenContracts {
    risk::Right right = risk::Right::Call;
    QDate expiry;
    int amount = 0;
    double marginPerContract = 0;
};

// The margin of written options together. A written put and a written call of the same expiry
// cannot both end in the money, so the contracts they have in common count once, at the larger
// of their two margins; the rest counts at its own margin. Where several puts and calls share
// an expiry, the dearest contracts of either kind are paired first, as a broker pairs them for
// the least margin. Lines without an expiry or with no contracts are not paired.
double PairedMargin(const std::vector<WrittenContracts> &written);

} // namespace cover
