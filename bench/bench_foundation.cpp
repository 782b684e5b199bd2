// Figures of the foundation: reading a settings key (done on every new
// snippet), the Windows-1250 codec, and the font text form.
#include "bench/Measure.h"
#include "common/Win1250.h"
#include "data/FontText.h"
#include "data/IniFile.h"
#include "data/Settings.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace vorlin;
using namespace vorlin::bench;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    IniFile ini(settings::filePath(dir.path() + u'/'));
    ini.writeString(settings::kSection, settings::kFontKey, u"\"Arial\", 12, [Bold], [clRed]");
    ini.writeBool(settings::kSection, settings::kUseCtrlVKey, true);
    ini.writeString(settings::kSection, settings::kPasteIntervalKey, u"4");

    volatile qsizetype sink = 0;
    report("settings_read_key_median",
           medianMicroseconds(2000, [&] { sink = sink + ini.readString(settings::kSection, settings::kFontKey, {}).size(); }),
           "us");
    report("settings_write_key_median",
           medianMicroseconds(200, [&] { ini.writeString(settings::kSection, settings::kPasteIntervalKey, u"5"); }), "us");

    QByteArray text;
    const QByteArray line = "P\xf8\xedli\x9a \x9elu\x9do\xe8k\xfd k\xf9\xf2 \xfap\xecl \xef\xe1\x62\x65lsk\xe9 \xf3\x64y\r\n";
    while (text.size() < 8 * 1024 * 1024)
        text += line;
    const double megabytes = double(text.size()) / (1024.0 * 1024.0);
    QString decoded;
    const double decodeUs = medianMicroseconds(9, [&] { decoded = win1250::decode(text); });
    report("win1250_decode_8mb", megabytes / (decodeUs / 1e6), "MB/s");
    const double encodeUs = medianMicroseconds(9, [&] { sink = sink + win1250::encode(decoded).size(); });
    report("win1250_encode_8mb", megabytes / (encodeUs / 1e6), "MB/s");

    Font font;
    report("fontspec_read_median",
           medianMicroseconds(10000, [&] { readFontSpec(u"\"Arial\", 12, [Bold|Italic], [clMaroon]", font); }), "us");
    return 0;
}
