#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace vorlin::win1250 {

// The Unicode character of one Windows-1250 byte. The five bytes the code page
// leaves unassigned (81 83 88 90 98) stand for the C1 control of the same value,
// as the Windows conversion functions have it, so every byte round-trips.
char16_t toUnicode(unsigned char byte) noexcept;

// The Windows-1250 byte of a Unicode character, or nothing when the code page
// has none.
std::optional<unsigned char> fromUnicode(char32_t character) noexcept;

QString decode(QByteArrayView bytes);

// Characters without a Windows-1250 code become "?" (one for each character,
// also for one outside the Basic Multilingual Plane).
QByteArray encode(QStringView text);

}  // namespace vorlin::win1250
