// The memory of published pages: only the version kept is ever found, and what is kept stays
// within its size, the oldest going first.

#include "server/PageCache.h"

#include <gtest/gtest.h>

#include <string>

using server::PageCache;

namespace {

std::shared_ptr<std::string> Answer(const char* text) {
    return std::make_shared<std::string>(text);
}

TEST(PageCache, FindsOnlyTheVersionItKept) {
    PageCache<std::string> cache(1000);
    EXPECT_EQ(cache.Find("love", 7), nullptr);
    cache.Keep("love", 7, Answer("seven"), 100);
    ASSERT_NE(cache.Find("love", 7), nullptr);
    EXPECT_EQ(*cache.Find("love", 7), "seven");
    EXPECT_EQ(cache.Find("love", 8), nullptr);
    EXPECT_EQ(cache.Find("Love", 7), nullptr);

    cache.Keep("love", 8, Answer("eight"), 150);
    EXPECT_EQ(cache.Find("love", 7), nullptr);
    EXPECT_EQ(*cache.Find("love", 8), "eight");
    EXPECT_EQ(cache.Bytes(), 150u);
    cache.Forget("love");
    EXPECT_EQ(cache.Find("love", 8), nullptr);
    EXPECT_EQ(cache.Bytes(), 0u);
}

TEST(PageCache, StaysWithinItsSizeOldestFirst) {
    PageCache<std::string> cache(300);
    cache.Keep("a", 1, Answer("a"), 100);
    cache.Keep("b", 1, Answer("b"), 100);
    cache.Keep("c", 1, Answer("c"), 100);
    cache.Keep("a", 2, Answer("a2"), 100);  // "a" kept again: now the newest
    cache.Keep("d", 1, Answer("d"), 100);   // over the size: "b" goes, the oldest
    EXPECT_EQ(cache.Find("b", 1), nullptr);
    EXPECT_NE(cache.Find("a", 2), nullptr);
    EXPECT_NE(cache.Find("c", 1), nullptr);
    EXPECT_NE(cache.Find("d", 1), nullptr);
    EXPECT_EQ(cache.Bytes(), 300u);
    // A page larger than the whole cache is not kept, and evicts nothing.
    cache.Keep("huge", 1, Answer("huge"), 301);
    EXPECT_EQ(cache.Find("huge", 1), nullptr);
    EXPECT_EQ(cache.Bytes(), 300u);
}

// An answer being sent when its page changes stays whole for its sender.
TEST(PageCache, AnAnswerOutlivesItsEviction) {
    PageCache<std::string> cache(100);
    cache.Keep("a", 1, Answer("first"), 100);
    const auto held = cache.Find("a", 1);
    cache.Keep("b", 1, Answer("second"), 100);
    EXPECT_EQ(cache.Find("a", 1), nullptr);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(*held, "first");
}

// A page written again and again (each write a new version) keeps one entry: the cache's
// bookkeeping does not grow with the writes.
TEST(PageCache, RewritesDoNotGrowIt) {
    PageCache<std::string> cache(1000);
    for (int version = 1; version <= 10000; ++version)
        cache.Keep("busy", version, Answer("x"), 10);
    cache.Keep("other", 1, Answer("y"), 10);
    EXPECT_EQ(cache.Bytes(), 20u);
    EXPECT_NE(cache.Find("busy", 10000), nullptr);
    // Filling it up evicts the others in their order, "busy" among them exactly once.
    for (int i = 0; i < 98; ++i)
        cache.Keep(QString::number(i), 1, Answer("z"), 10);
    EXPECT_NE(cache.Find("busy", 10000), nullptr);
    cache.Keep("last", 1, Answer("l"), 10);
    EXPECT_EQ(cache.Find("busy", 10000), nullptr);
    EXPECT_NE(cache.Find("other", 1), nullptr);
    EXPECT_EQ(cache.Bytes(), 1000u);
}

}  // namespace
