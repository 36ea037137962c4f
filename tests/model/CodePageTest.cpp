#include "model/CodePage.h"

#include <gtest/gtest.h>

using namespace vt;

TEST(CodePage, PrivateUseMarksMapBothWays)
{
    // U+E000..U+E052 are the 83 characters of row AA, trail bytes A1..F3.
    for (char16_t c = 0xE000; c <= 0xE052; ++c) {
        const QByteArray bytes = toAnsi(QString(QChar(c)));
        ASSERT_EQ(bytes.size(), 2) << std::hex << int(c);
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xAA);
        EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xA1 + (c - 0xE000)) << std::hex << int(c);
        EXPECT_EQ(toWide(bytes), QString(QChar(c)));
    }
    EXPECT_EQ(toAnsi(QString(QChar(0xE04D))), QByteArray("\xAA\xEE"));
    EXPECT_EQ(toAnsi(QString(QChar(0xE052))), QByteArray("\xAA\xF3"));
}

TEST(CodePage, OrdinaryTextAndChinese)
{
    EXPECT_EQ(toAnsi(u"AB-12"), QByteArray("AB-12"));
    EXPECT_EQ(toAnsi(u"\u4E2D"), QByteArray("\xD6\xD0")); // 中
    EXPECT_EQ(toWide(QByteArray("\xD6\xD0" "A")), QString::fromUtf16(u"\u4E2DA"));
    EXPECT_EQ(toAnsi(u"\x12\x1A\x1C"), QByteArray("\x12\x1A\x1C"));
    EXPECT_TRUE(toAnsi(u"").isEmpty());
}

TEST(CodePage, UnmappableNeverBecomesTheLineSeparator)
{
    // Characters outside the code page become '?', never 0x1A.
    EXPECT_EQ(toAnsi(u"\u0E01x"), QByteArray("?x"));     // Thai
    EXPECT_EQ(toAnsi(QString::fromUcs4(U"\U0001F600")), QByteArray("?"));
    // A broken byte sequence reads as U+FFFD, not U+001A.
    const QString broken = toWide(QByteArray("A\x81"));
    EXPECT_EQ(broken.size(), 2);
    EXPECT_EQ(broken[0], u'A');
    EXPECT_NE(broken[1], QChar(0x1A));
}

TEST(CodePage, CutNeverSplitsADoubleByteCharacter)
{
    const QByteArray text = QByteArray(99, 'a') + QByteArray("\xD6\xD0");
    EXPECT_EQ(cutAtCharBoundary(text, 100), 99);
    EXPECT_EQ(cutAtCharBoundary(QByteArray(100, 'a') + "b", 100), 100);
    EXPECT_EQ(cutAtCharBoundary(QByteArray("\xD6\xD0\xD6\xD0"), 3), 2);
    // A lone lead byte at the end counts as one byte.
    EXPECT_EQ(cutAtCharBoundary(QByteArray("ab\xD6"), 100), 3);
}

TEST(CodePage, UnprintableCharactersAreNamedOnceInOrder)
{
    EXPECT_EQ(unprintableCharacters(u"X1\u00B2;A\u2713B\u0141\u017A\u00B2"),
              QList<char32_t>({0xB2, 0x2713, 0x141, 0x17A}));
    // What the page can hold: text, Chinese, pinyin letters, the euro sign,
    // control codes and every mark character.
    QString printable = QStringLiteral("AB-12 \u4E2D\u00E9\u20AC\x12\x1A");
    for (char16_t c = 0xE000; c <= 0xE052; ++c)
        printable += QChar(c);
    EXPECT_TRUE(unprintableCharacters(printable).isEmpty());

    const QString emoji = QString::fromUcs4(U"a\U0001F600");
    EXPECT_EQ(unprintableCharacters(emoji), QList<char32_t>{0x1F600});
    EXPECT_EQ(characterNames({0x1F600, 0xB2}), QStringLiteral("\"\U0001F600\" (U+1F600), \"\u00B2\" (U+00B2)"));
    EXPECT_EQ(unprintableNote(u"X1\u00B2"), QStringLiteral("X1\u00B2: \"\u00B2\" (U+00B2) cannot be printed"));
    EXPECT_TRUE(unprintableNote(u"X1").isEmpty());

    // The noting conversion writes what the plain one writes, and leaves the
    // pooled converter as it found it.
    QList<char32_t> found;
    EXPECT_EQ(toAnsi(u"\u4E2D\u2713x", found), QByteArray("\xD6\xD0?x"));
    EXPECT_EQ(found, QList<char32_t>{0x2713});
    EXPECT_EQ(toAnsi(u"\u00B2"), QByteArray("?"));
    EXPECT_EQ(found, QList<char32_t>{0x2713});
}
