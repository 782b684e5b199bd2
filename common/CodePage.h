#pragma once

#include <QByteArrayView>
#include <QString>

namespace vorlin::codepage {

// Windows code pages whose bytes the program can read: 1250 (Central
// European, the program's own) and 1252 (Western).
bool isKnown(int codePage) noexcept;

// The Unicode character of one byte; a code page that is not known is read
// as 1250.
char16_t toUnicode(int codePage, unsigned char byte) noexcept;

QString decode(int codePage, QByteArrayView bytes);

}  // namespace vorlin::codepage
