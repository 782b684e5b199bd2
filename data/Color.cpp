#include "data/Color.h"

#include "common/Error.h"
#include "common/Integer.h"

#include <array>

namespace vorlin {
namespace {

struct NamedColor {
    Color value;
    const char16_t* name;
};

using colors::systemColor;

constexpr std::array<NamedColor, 52> kNamedColors = {{
    {colors::clBlack, u"clBlack"},
    {colors::clMaroon, u"clMaroon"},
    {colors::clGreen, u"clGreen"},
    {colors::clOlive, u"clOlive"},
    {colors::clNavy, u"clNavy"},
    {colors::clPurple, u"clPurple"},
    {colors::clTeal, u"clTeal"},
    {colors::clGray, u"clGray"},
    {colors::clSilver, u"clSilver"},
    {colors::clRed, u"clRed"},
    {colors::clLime, u"clLime"},
    {colors::clYellow, u"clYellow"},
    {colors::clBlue, u"clBlue"},
    {colors::clFuchsia, u"clFuchsia"},
    {colors::clAqua, u"clAqua"},
    {colors::clWhite, u"clWhite"},
    {0xC0DCC0, u"clMoneyGreen"},
    {0xF0CAA6, u"clSkyBlue"},
    {0xF0FBFF, u"clCream"},
    {0xA4A0A0, u"clMedGray"},
    {systemColor(0), u"clScrollBar"},
    {systemColor(1), u"clBackground"},
    {systemColor(2), u"clActiveCaption"},
    {systemColor(3), u"clInactiveCaption"},
    {systemColor(4), u"clMenu"},
    {systemColor(5), u"clWindow"},
    {systemColor(6), u"clWindowFrame"},
    {systemColor(7), u"clMenuText"},
    {systemColor(8), u"clWindowText"},
    {systemColor(9), u"clCaptionText"},
    {systemColor(10), u"clActiveBorder"},
    {systemColor(11), u"clInactiveBorder"},
    {systemColor(12), u"clAppWorkSpace"},
    {systemColor(13), u"clHighlight"},
    {systemColor(14), u"clHighlightText"},
    {systemColor(15), u"clBtnFace"},
    {systemColor(16), u"clBtnShadow"},
    {systemColor(17), u"clGrayText"},
    {systemColor(18), u"clBtnText"},
    {systemColor(19), u"clInactiveCaptionText"},
    {systemColor(20), u"clBtnHighlight"},
    {systemColor(21), u"cl3DDkShadow"},
    {systemColor(22), u"cl3DLight"},
    {systemColor(23), u"clInfoText"},
    {systemColor(24), u"clInfoBk"},
    {systemColor(26), u"clHotLight"},
    {systemColor(27), u"clGradientActiveCaption"},
    {systemColor(28), u"clGradientInactiveCaption"},
    {systemColor(29), u"clMenuHighlight"},
    {systemColor(30), u"clMenuBar"},
    {colors::clNone, u"clNone"},
    {colors::clDefault, u"clDefault"},
}};

// The palette entry that plays the part of each system colour on this desktop.
QColor systemQColor(int index, const QPalette& p)
{
    switch (index) {
    case 0: return p.color(QPalette::Midlight);          // scroll bar
    case 1: return p.color(QPalette::Window);            // desktop
    case 2: return p.color(QPalette::Highlight);         // active caption
    case 3: return p.color(QPalette::Mid);               // inactive caption
    case 4: return p.color(QPalette::Window);            // menu
    case 5: return p.color(QPalette::Base);              // window
    case 6: return p.color(QPalette::Shadow);            // window frame
    case 7: return p.color(QPalette::WindowText);        // menu text
    case 8: return p.color(QPalette::Text);              // window text
    case 9: return p.color(QPalette::HighlightedText);   // caption text
    case 10: return p.color(QPalette::Window);           // active border
    case 11: return p.color(QPalette::Window);           // inactive border
    case 12: return p.color(QPalette::Mid);              // application workspace
    case 13: return p.color(QPalette::Highlight);
    case 14: return p.color(QPalette::HighlightedText);
    case 15: return p.color(QPalette::Button);           // button face
    case 16: return p.color(QPalette::Dark);             // button shadow
    case 17: return p.color(QPalette::Disabled, QPalette::Text);
    case 18: return p.color(QPalette::ButtonText);
    case 19: return p.color(QPalette::WindowText);       // inactive caption text
    case 20: return p.color(QPalette::Light);            // button highlight
    case 21: return p.color(QPalette::Shadow);           // 3-D dark shadow
    case 22: return p.color(QPalette::Midlight);         // 3-D light
    case 23: return p.color(QPalette::ToolTipText);
    case 24: return p.color(QPalette::ToolTipBase);
    case 26: return p.color(QPalette::Link);             // hot-tracked item
    case 27: return p.color(QPalette::Highlight);
    case 28: return p.color(QPalette::Mid);
    case 29: return p.color(QPalette::Highlight);        // menu highlight
    case 30: return p.color(QPalette::Window);           // menu bar
    default: return p.color(QPalette::Text);
    }
}

}  // namespace

std::optional<QString> colorName(Color color)
{
    for (const NamedColor& entry : kNamedColors)
        if (entry.value == color)
            return QString::fromUtf16(entry.name);
    return std::nullopt;
}

std::optional<Color> colorFromName(QStringView name)
{
    for (const NamedColor& entry : kNamedColors)
        if (name.compare(QStringView(entry.name), Qt::CaseInsensitive) == 0)
            return entry.value;
    return std::nullopt;
}

QString colorToText(Color color)
{
    if (auto name = colorName(color))
        return *name;
    return u'$' + QStringLiteral("%1").arg(static_cast<std::uint32_t>(color), 8, 16, QChar(u'0')).toUpper();
}

Color colorFromText(QStringView text)
{
    if (const auto named = colorFromName(text))
        return *named;
    return parseInteger(text, HexPrefix::Dollar);
}

QColor toQColor(Color color, const QPalette& palette)
{
    const auto bits = static_cast<std::uint32_t>(color);
    if (color == colors::clNone || color == colors::clDefault)
        return {};
    if ((bits & 0xFF000000u) == 0xFF000000u)
        return systemQColor(int(bits & 0xFFu), palette);
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

Color fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<Color>(std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8)
                              | (std::uint32_t(rgb.blue()) << 16));
}

}  // namespace vorlin
