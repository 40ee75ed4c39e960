#include <gtest/gtest.h>

#include "market/market_hosts.h"
#include "support/scoped_env.h"

TEST(MarketHosts, EachSiteHasItsOwnSettingAndTheDemoSiteByDefault)
{
    struct Site { const char *variable; QString (*host)(); };
    const Site sites[] = {
        {"PELGRANDIX_QUOTE_HOST", QuoteHost},
        {"PELGRANDIX_INDEX_HOST", IndexHost},
        {"PELGRANDIX_MAKER_HOST", MakerHost},
    };
    for (const Site &site : sites) {
        ScopedEnv quote{"PELGRANDIX_QUOTE_HOST", std::nullopt};
        ScopedEnv index{"PELGRANDIX_INDEX_HOST", std::nullopt};
        ScopedEnv maker{"PELGRANDIX_MAKER_HOST", std::nullopt};
        EXPECT_EQ(site.host(), "127.0.0.1:8470") << site.variable;
        {
            ScopedEnv set{site.variable, QByteArray("quotes.example:8080")};
            EXPECT_EQ(site.host(), "quotes.example:8080") << site.variable;
            for (const Site &other : sites) {
                if (other.host != site.host) {
                    EXPECT_EQ(other.host(), "127.0.0.1:8470") << site.variable << " leaks";
                }
            }
        }
        ScopedEnv empty{site.variable, QByteArray("")};
        EXPECT_EQ(site.host(), "127.0.0.1:8470") << site.variable;
    }
}
