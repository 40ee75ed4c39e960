#pragma once
// What the tests against misbehaving servers serve.

#include <random>
#include <string>

// size bytes of noise, the same for the same seed.
inline std::string noise(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random() & 0xff);
    return bytes;
}

// A price table in the quote site's layout: 19-04-13 series with strikes 300 to 399, priced at
// a hundredth of their strike except the one at 380, which carries the given price.
inline std::string priceTable(const char *price380)
{
    std::string page = "<html><body><table class=\"option-table\">\n<tr><th>Expiratie</th>"
                       "<th class=\"col-strike\">Uitoef. prijs</th><th>Laatst</th></tr>\n";
    for (int strike = 300; strike < 400; ++strike) {
        const std::string price = strike == 380 ? std::string(price380)
            : std::to_string(strike / 100) + "," + std::to_string(strike % 100 / 10) + std::to_string(strike % 10);
        page += "<tr class=\"row\"><td class=\"date\">19-04-13</td><td class=\"fBold price\">"
            + std::to_string(strike) + ",00</td><td class=\"fBold price\">" + price
            + "</td><td class=\"vol\">12</td></tr>\n";
    }
    return page + "</table></body></html>\n";
}
