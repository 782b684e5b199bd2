#include "common/Error.h"
#include "common/Win1250.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "data/SettingsFile.h"
#include "support/TempDir.h"

#include <QFile>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace vorlin;
using vorlin::test::TempDir;

namespace {

const QString kDefault = QStringLiteral("výchozí");

}  // namespace

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault)
{
    TempDir dir;
    IniFile missing(dir.file(QStringLiteral("nastaveni.ini")));
    EXPECT_EQ(missing.readString(u"nastaveni", u"pismo", kDefault), kDefault);

    dir.write(QStringLiteral("nastaveni.ini"), "[jine]\r\npismo=x\r\n[nastaveni]\r\nkontrolovat_po_startu=0\r\n");
    IniFile ini(dir.file(QStringLiteral("nastaveni.ini")));
    EXPECT_EQ(ini.readString(u"chybi", u"pismo", kDefault), kDefault);
    EXPECT_EQ(ini.readString(u"nastaveni", u"pismo", kDefault), kDefault);
    EXPECT_EQ(ini.readString(u"jine", u"pismo", kDefault), QStringLiteral("x"));
}

TEST(IniFile, SectionAndKeyNamesIgnoreLetterCase)
{
    TempDir dir;
    dir.write(QStringLiteral("a.ini"), "[NaStAvEnI]\r\nPISMO=Arial\r\n");
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    EXPECT_EQ(ini.readString(u"nastaveni", u"pismo", kDefault), QStringLiteral("Arial"));
    ini.writeString(u"NASTAVENI", u"Pismo", u"Tahoma");
    EXPECT_EQ(ini.readString(u"nastaveni", u"pismo", kDefault), QStringLiteral("Tahoma"));
    EXPECT_EQ(dir.read(QStringLiteral("a.ini")), QByteArray("[NaStAvEnI]\r\nPismo=Tahoma\r\n"));
}

TEST(IniFile, ValuesAreTrimmedAndUnquotedAsTheProfileFunctionsDo)
{
    TempDir dir;
    dir.write(QStringLiteral("a.ini"),
              "[s]\r\n  a  =  x y  \r\nb=\"quoted\"\r\nc=\"Tahoma\", 8, [], [clWindowText]\r\nd=\r\n");
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    EXPECT_EQ(ini.readString(u"s", u"a", kDefault), QStringLiteral("x y"));
    EXPECT_EQ(ini.readString(u"s", u"b", kDefault), QStringLiteral("quoted"));
    EXPECT_EQ(ini.readString(u"s", u"c", kDefault), QStringLiteral("\"Tahoma\", 8, [], [clWindowText]"));
    EXPECT_EQ(ini.readString(u"s", u"d", kDefault), QString());
}

TEST(IniFile, WriteKeepsEveryOtherLineAndSection)
{
    TempDir dir;
    dir.write(QStringLiteral("a.ini"),
              "; poznamka\r\n[prvni]\r\nx=1\r\n\r\n[nastaveni]\r\npismo=stare\r\nkontrolovat_po_startu=1\r\n\r\n"
              "[posledni]\nz=3\n");
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    ini.writeString(u"nastaveni", u"pismo", u"nove");
    ini.writeString(u"nastaveni", u"pouzit_ctrlv", u"0");
    ini.writeString(u"treti", u"k", u"v");
    EXPECT_EQ(dir.read(QStringLiteral("a.ini")),
              QByteArray("; poznamka\r\n[prvni]\r\nx=1\r\n\r\n[nastaveni]\r\npismo=nove\r\n"
                         "kontrolovat_po_startu=1\r\npouzit_ctrlv=0\r\n\r\n[posledni]\nz=3\n\r\n[treti]\r\nk=v\r\n"));
}

TEST(IniFile, FirstWriteCreatesTheFile)
{
    TempDir dir;
    IniFile ini(settings::filePath(dir.path()));
    ini.writeString(settings::kSection, settings::kPasteIntervalKey, u"12");
    EXPECT_EQ(dir.read(QStringLiteral("nastaveni.ini")), QByteArray("[nastaveni]\r\ncasovy_interval_vlozeni=12\r\n"));
}

TEST(IniFile, ValuesRoundTrip)
{
    TempDir dir;
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    const QString values[] = {
        QStringLiteral("a=b=c"),
        QStringLiteral("mezi slovy mezery"),
        QStringLiteral("\"Times New Roman\", 12, [Bold|Italic], [clMaroon]"),
        QStringLiteral("Příliš žluťoučký kůň"),
        QStringLiteral("[hranatá]"),
    };
    for (const QString& value : values) {
        ini.writeString(u"s", u"k", value);
        EXPECT_EQ(ini.readString(u"s", u"k", kDefault), value);
    }
    // On disk the text is Windows-1250.
    EXPECT_EQ(dir.read(QStringLiteral("a.ini")), "[s]\r\nk=" + win1250::encode(values[4]) + "\r\n");
}

TEST(IniFile, LineBreaksInAValueCannotSplitTheFile)
{
    TempDir dir;
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    ini.writeString(u"s", u"k", u"a\r\n[jina]\r\nk=b");
    EXPECT_EQ(ini.readString(u"s", u"k", kDefault), QStringLiteral("a  [jina]  k=b"));
    EXPECT_EQ(ini.readString(u"jina", u"k", kDefault), kDefault);
}

TEST(IniFile, ReadsAtMost2047Characters)
{
    TempDir dir;
    dir.write(QStringLiteral("a.ini"), "[s]\r\nk=" + QByteArray(3000, 'x') + "\r\n");
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    EXPECT_EQ(ini.readString(u"s", u"k", kDefault).size(), 2047);
}

TEST(IniFile, RefusedWriteRaisesUnableToWriteAndKeepsTheFile)
{
    TempDir dir;
    dir.write(QStringLiteral("a.ini"), "[s]\r\nk=stare\r\n");
    const QString path = dir.file(QStringLiteral("a.ini"));
    QFile::setPermissions(path, QFile::ReadOwner);
    IniFile ini(path);
    try {
        ini.writeString(u"s", u"k", u"nove");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + path);
    }
    EXPECT_EQ(ini.readString(u"s", u"k", kDefault), QStringLiteral("stare"));

    IniFile inMissingFolder(dir.file(QStringLiteral("chybi/a.ini")));
    EXPECT_THROW(inMissingFolder.writeBool(u"s", u"k", true), FileError);
}

TEST(IniFile, BooleansFollowTheIntegerRule)
{
    struct Case {
        const char* stored;  // nullptr: key missing
        bool defaultValue;
        bool expected;
    };
    const Case cases[] = {
        {nullptr, true, true},   {nullptr, false, false}, {"yes", true, true},  {"yes", false, false},
        {"0x0", true, false},    {"0", true, false},      {"1", false, true},   {"2", false, true},
        {"0x10", false, true},   {"-1", false, true},     {"", true, true},     {" 0", true, false},
    };
    TempDir dir;
    // The program's one settings object is kept over all the rows: each
    // rewrite of the file shows at once, however quick.
    const SettingsFile kept(dir.file(QStringLiteral("a.ini")));
    for (const Case& c : cases) {
        dir.write(QStringLiteral("a.ini"),
                  c.stored ? QByteArray("[nastaveni]\r\npouzit_ctrlv=") + c.stored + "\r\n" : QByteArray());
        IniFile ini(dir.file(QStringLiteral("a.ini")));
        EXPECT_EQ(ini.readBool(settings::kSection, settings::kUseCtrlVKey, c.defaultValue), c.expected)
            << (c.stored ? c.stored : "(missing)");
        EXPECT_EQ(kept.readBool(settings::kSection, settings::kUseCtrlVKey, c.defaultValue), c.expected)
            << (c.stored ? c.stored : "(missing)");
    }
}

TEST(IniFile, BooleansAreWrittenAsOneAndZero)
{
    TempDir dir;
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    ini.writeBool(u"s", u"a", true);
    ini.writeBool(u"s", u"b", false);
    EXPECT_EQ(dir.read(QStringLiteral("a.ini")), QByteArray("[s]\r\na=1\r\nb=0\r\n"));
}

TEST(IniFile, LinesTheWriteDoesNotTouchKeepEveryByte)
{
    struct Case {
        const char* name;
        QByteArray before;
        QByteArray after;
    };
    const Case cases[] = {
        {"zero byte in a comment",
         QByteArray("[nastaveni]\r\n; a\0b\r\npismo=x\r\nkontrolovat_po_startu=0\r\n", 54),
         QByteArray("[nastaveni]\r\n; a\0b\r\npismo=y\r\nkontrolovat_po_startu=0\r\n", 54)},
        {"zero byte in another value",
         QByteArray("[jine]\nk=1\0\xff\n[nastaveni]\npismo=x\n", 33),
         QByteArray("[jine]\nk=1\0\xff\n[nastaveni]\npismo=y\n", 33)},
        {"last line without its end",
         "[nastaveni]\rzzz=1",
         "[nastaveni]\rzzz=1\r\npismo=y\r\n"},
        {"bytes outside any code page", "x=\x81\x83\x98\r\n[nastaveni]\r\n", "x=\x81\x83\x98\r\n[nastaveni]\r\npismo=y\r\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write(QStringLiteral("a.ini"), c.before);
        IniFile ini(dir.file(QStringLiteral("a.ini")));
        ini.writeString(u"nastaveni", u"pismo", u"y");
        EXPECT_EQ(dir.read(QStringLiteral("a.ini")).toHex(' '), c.after.toHex(' ')) << c.name;
        EXPECT_EQ(ini.readString(u"nastaveni", u"pismo", kDefault), QStringLiteral("y")) << c.name;
    }
}

TEST(IniFile, AValueEndsAtAZeroByte)
{
    TempDir dir;
    dir.write(QStringLiteral("a.ini"), QByteArray("[s]\r\nk=12\0zbytek\r\nm=2\r\n", 23));
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    EXPECT_EQ(ini.readString(u"s", u"k", kDefault), QStringLiteral("12"));
    EXPECT_EQ(ini.readString(u"s", u"m", kDefault), QStringLiteral("2"));
}

namespace {

QByteArray utf16le(const QString& text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

}  // namespace

TEST(IniFile, FilesWithAByteOrderMarkAreReadAndWrittenInTheirEncoding)
{
    struct Case {
        const char* name;
        std::function<QByteArray(const QString&)> encode;
    };
    const Case cases[] = {
        {"UTF-16LE", utf16le},
        {"UTF-8", [](const QString& text) { return "\xEF\xBB\xBF" + text.toUtf8(); }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const QString before = QStringLiteral("; Poznámka 日本\r\n[Nastaveni]\r\npismo=\"Arial\", 9, [], [clRed]\r\nx=ž\r\n");
        dir.write(QStringLiteral("a.ini"), c.encode(before));
        IniFile ini(dir.file(QStringLiteral("a.ini")));
        EXPECT_EQ(ini.readString(u"nastaveni", u"pismo", kDefault), QStringLiteral("\"Arial\", 9, [], [clRed]")) << c.name;
        EXPECT_EQ(ini.readString(u"nastaveni", u"x", kDefault), QStringLiteral("ž")) << c.name;
        ini.writeString(u"nastaveni", u"pismo", u"Šťastný");
        ini.writeBool(u"nastaveni", u"pouzit_ctrlv", false);
        const QString after =
            QStringLiteral("; Poznámka 日本\r\n[Nastaveni]\r\npismo=Šťastný\r\nx=ž\r\npouzit_ctrlv=0\r\n");
        EXPECT_EQ(dir.read(QStringLiteral("a.ini")), c.encode(after)) << c.name;
    }
}

TEST(IniFile, AFileThatCannotBeReadIsNeverReplaced)
{
    // As a user without the right to read the file; the tests may run as root,
    // who reads everything.
    TempDir dir;
    const QByteArray before = "[nastaveni]\r\npismo=moje\r\n";
    dir.write(QStringLiteral("a.ini"), before);
    const QString path = dir.file(QStringLiteral("a.ini"));
    QFile::setPermissions(path, QFile::WriteOwner);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::WriteOther | QFile::ExeOther);
    const bool asRoot = geteuid() == 0;
    if (asRoot)
        ASSERT_EQ(seteuid(65534), 0);  // the folder above is the world's temporary folder
    IniFile ini(path);
    EXPECT_EQ(ini.readString(u"nastaveni", u"pismo", kDefault), kDefault);
    QString message;
    try {
        ini.writeString(u"nastaveni", u"pouzit_ctrlv", u"1");
    } catch (const FileError& e) {
        message = e.message();
    }
    if (asRoot)
        ASSERT_EQ(seteuid(0), 0);
    EXPECT_EQ(message, QStringLiteral("Unable to write to ") + path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(dir.read(QStringLiteral("a.ini")), before);
}
