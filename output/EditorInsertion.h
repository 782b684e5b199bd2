#pragma once

#include "output/EditorDiscovery.h"

#include <QString>

#include <optional>

namespace vorlin {

// Which word processor a listed window belongs to, decided from its title
// alone: Word when it holds "Microsoft Word", else Writer when it holds
// "OpenOffice.org" or "LibreOffice" (case counts); none otherwise.
std::optional<EditorKind> insertionKind(const QString& title);

// The hourglass from its making to the end of its scope, drawn before the
// wait begins; nothing without a graphical application.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    bool shown_ = false;
};

}  // namespace vorlin
