// The memory for bodies in flight: one address cannot take more than its share, large bodies
// leave the last eighth to small ones, and what a request held comes back when it goes.

#include "server/BodyBudget.h"

#include <gtest/gtest.h>

namespace {

using server::BodyBudget;
using Verdict = server::BodyBudget::Verdict;

TEST(BodyBudget, SharesAreKeptAndGivenBack) {
    const qint64 kSmall = BodyBudget::kSmallBody;
    BodyBudget big(8 * kSmall * 4, 4 * kSmall * 4);  // 32 small bodies in all, 16 per address

    BodyBudget::Hold a1, a2, a3, b1, b2, small;
    EXPECT_EQ(a1.Grow(big, "a", 12 * kSmall), Verdict::Granted);
    EXPECT_EQ(a2.Grow(big, "a", 4 * kSmall), Verdict::Granted);
    EXPECT_EQ(a3.Grow(big, "a", 2 * kSmall), Verdict::Busy) << "over the address's share";
    EXPECT_EQ(a3.Grow(big, "a", 17 * kSmall), Verdict::TooBig) << "more than a share at all";
    EXPECT_EQ(b1.Grow(big, "b", 12 * kSmall), Verdict::Granted);
    // 28 of 32 taken: the last eighth (4) is for small bodies.
    EXPECT_EQ(b2.Grow(big, "b", 2 * kSmall), Verdict::Busy);
    EXPECT_EQ(small.Grow(big, "c", kSmall), Verdict::Granted);
    // A body that grows past the small size counts as large from then on.
    EXPECT_EQ(small.Grow(big, "c", kSmall), Verdict::Busy);
    EXPECT_EQ(big.InUse(), 29 * kSmall);

    a1.Release();
    EXPECT_EQ(big.InUseBy("a"), 4 * kSmall);
    EXPECT_EQ(b2.Grow(big, "b", 2 * kSmall), Verdict::Granted);
    {
        BodyBudget::Hold gone;
        EXPECT_EQ(gone.Grow(big, "d", 4 * kSmall), Verdict::Granted);
    }
    EXPECT_EQ(big.InUseBy("d"), 0);
    EXPECT_EQ(big.InUse(), (4 + 12 + 2 + 1) * kSmall);
}

}  // namespace
