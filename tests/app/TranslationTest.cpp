#include "app/MainWindow.h"
#include "commands/ProgressView.h"
#include "files/Language.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>

namespace vt {
namespace {

// The placeholders a text fills in: %1..%99 and printf's conversions, counted.
std::map<QString, int> placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%(\\d{1,2}|ll[du]|[ds])"));
    std::map<QString, int> found;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        ++found[it.next().captured(0)];
    return found;
}

// The text of a <source> or <translation>, with lupdate's <byte value="xd"/> for "\r".
QString elementText(QXmlStreamReader &xml)
{
    QString text;
    const QStringView name = xml.name();
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == u"byte")
            text += QChar(char16_t(xml.attributes().value(QStringLiteral("value")).mid(1).toUShort(nullptr, 16)));
        else if (xml.isEndElement() && xml.name() == name)
            break;
    }
    return text;
}

TEST(Translation, EveryMessageIsTranslatedWithItsPlaceholders)
{
    QFile ts(QStringLiteral(VT350_SOURCE_DIR "/translations/vt350_zh_CN.ts"));
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    int messages = 0;
    QString source;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"source") {
            source = elementText(xml);
        } else if (xml.name() == u"translation") {
            ++messages;
            const QStringView type = xml.attributes().value(QStringLiteral("type"));
            EXPECT_TRUE(type.isEmpty()) << qPrintable(source) << " is " << type.toString().toStdString();
            const QString translation = elementText(xml);
            EXPECT_FALSE(translation.trimmed().isEmpty()) << qPrintable(source);
            EXPECT_EQ(placeholders(translation), placeholders(source)) << qPrintable(source) << "\n"
                                                                       << qPrintable(translation);
        }
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    // A file read only in part would pass the loop above.
    EXPECT_GE(messages, 300);
}

TEST(Translation, ChosenLanguageBeatsTheSystemsAndChineseReadsSimplified)
{
    const QStringList english{QStringLiteral("en-US")};
    const QStringList chinese{QStringLiteral("zh-Hans-CN"), QStringLiteral("zh-CN")};
    EXPECT_EQ(pickLanguage(QStringLiteral("zh_CN"), english), "zh_CN");
    EXPECT_EQ(pickLanguage(QStringLiteral("en"), chinese), "en");
    EXPECT_EQ(pickLanguage(QString(), chinese), "zh_CN");
    EXPECT_EQ(pickLanguage(QString(), {QStringLiteral("zh-TW")}), "zh_CN");
    // The first of the system's languages the program speaks decides.
    EXPECT_EQ(pickLanguage(QString(), {QStringLiteral("fr-FR"), QStringLiteral("zh-CN")}), "zh_CN");
    EXPECT_EQ(pickLanguage(QStringLiteral("klingon"), {QStringLiteral("en-GB"), QStringLiteral("zh-CN")}), "en");
    EXPECT_EQ(pickLanguage(QString(), {QStringLiteral("C")}), "en");
    EXPECT_EQ(pickLanguage(QString(), {QStringLiteral("de-DE")}), "en");
}

struct WindowLanguage : ::testing::Test {
    void TearDown() override
    {
        // The other tests of this program read English.
        for (QTranslator *t : qApp->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
        qputenv("VT350_LANG", "en");
    }
    // The window's title, the text of its Open button and Qt's word on a
    // message's Yes button.
    static std::string shown()
    {
        MainWindow window;
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
        return QStringList{window.windowTitle(), window.findChild<QAction *>(QStringLiteral("actionOpen"))->text(),
                           box.button(QMessageBox::Yes)->text()}
            .join(u'|')
            .toStdString();
    }
};

TEST_F(WindowLanguage, ChineseWhenAskedForAndEnglishOtherwise)
{
    qputenv("VT350_LANG", "zh_CN");
    EXPECT_EQ(installTranslation(*qApp), "zh_CN");
    EXPECT_EQ(shown(), "Vt350 线号打印机_P1.03|打开|是(&Y)");
    // Texts of the layers below the window too.
    EXPECT_EQ(timeLeftText(125000).toStdString(), "约剩 2 分 5 秒");
    TearDown();

    qputenv("VT350_LANG", "en");
    EXPECT_EQ(installTranslation(*qApp), "en");
    EXPECT_EQ(shown(), "Vt350 Tube Printer_P1.03|Open|&Yes");
    EXPECT_EQ(timeLeftText(125000), "about 2 min 5 s left");
}

} // namespace
} // namespace vt
