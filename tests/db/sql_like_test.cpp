#include <gtest/gtest.h>

#include "db/sql.h"

namespace planora::db::sql {
namespace {

TEST(SqlLike, WildcardsStarQuestionMarkAndDigit) {
    EXPECT_TRUE(likeMatch("ALBERGO ROMA", "ALBERGO*"));
    EXPECT_TRUE(likeMatch("ALBERGO", "ALBERGO*"));
    EXPECT_FALSE(likeMatch("L'ALBERGO", "ALBERGO*"));
    EXPECT_TRUE(likeMatch("L'ALBERGO", "*ALBERGO"));
    EXPECT_TRUE(likeMatch("abcabd", "*abd"));
    EXPECT_TRUE(likeMatch("abc", "a?c"));
    EXPECT_FALSE(likeMatch("ac", "a?c"));
    EXPECT_TRUE(likeMatch("101", "###"));
    EXPECT_FALSE(likeMatch("10A", "###"));
    EXPECT_TRUE(likeMatch("", "*"));
    EXPECT_TRUE(likeMatch("", ""));
    EXPECT_FALSE(likeMatch("a", ""));
    EXPECT_FALSE(likeMatch("", "?"));
    EXPECT_TRUE(likeMatch("a*b", "a[*]b"));
    EXPECT_FALSE(likeMatch("axb", "a[*]b"));
    EXPECT_TRUE(likeMatch("x", "**x**"));
}

TEST(SqlLike, CharacterClassesWithRangesAndNegation) {
    EXPECT_TRUE(likeMatch("b", "[abc]"));
    EXPECT_FALSE(likeMatch("d", "[abc]"));
    EXPECT_TRUE(likeMatch("m", "[a-z]"));
    EXPECT_TRUE(likeMatch("M", "[a-z]"));
    EXPECT_FALSE(likeMatch("5", "[a-z]"));
    EXPECT_TRUE(likeMatch("5", "[!a-z]"));
    EXPECT_FALSE(likeMatch("q", "[!a-z]"));
    EXPECT_TRUE(likeMatch("-", "[a-]"));
    EXPECT_TRUE(likeMatch("R101", "[A-Z]1#[0-9]"));
    EXPECT_TRUE(likeMatch("ab", "a[]b"));
    EXPECT_TRUE(likeMatch("[x", "[x"));  // an unclosed bracket is an ordinary character
}

TEST(SqlLike, CaseAndAccentedLettersAreOneCharacter) {
    EXPECT_TRUE(likeMatch("Caffè Nero", "CAFFÈ*"));
    EXPECT_TRUE(likeMatch("è", "?"));
    EXPECT_FALSE(likeMatch("è", "??"));
    EXPECT_TRUE(likeMatch("È", "[à-ù]"));
    EXPECT_TRUE(likeMatch("perché", "perch?"));
    EXPECT_TRUE(likeMatch("€", "[!a]"));
}

TEST(SqlLike, LongTextsWithManyStarsStayQuick) {
    const std::string text(5000, 'a');
    EXPECT_FALSE(likeMatch(text, "*a*a*a*a*b"));
    EXPECT_TRUE(likeMatch(text + "b", "*a*a*a*a*b"));
}

}  // namespace
}  // namespace planora::db::sql
