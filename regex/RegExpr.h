#pragma once

#include "regex/ERegExpr.h"
#include "regex/PatternParser.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace vorlin {

// The import's pattern engine. Patterns and texts are Windows-1250 bytes;
// the pattern is checked and compiled at the first search after it was set,
// so pattern errors surface there. Matching is done by PCRE2 (JIT when the
// machine has it) on a translation that spells out every construct.
class TRegExpr {
public:
    TRegExpr();
    ~TRegExpr();
    TRegExpr(const TRegExpr&) = delete;
    TRegExpr& operator=(const TRegExpr&) = delete;

    // The options a new pattern is compiled with (the dialect's defaults).
    regex::Options options;

    const QByteArray& expression() const { return expression_; }
    // Setting the same text changes nothing; an empty text keeps the program
    // of the pattern before, which the next search uses.
    void setExpression(const QByteArray& pattern);
    void setExpression(const QString& pattern);

    // Searches the text from its start.
    bool exec(const QByteArray& input);
    bool exec(const QString& input);
    // Searches on from the end of the last match (one character further
    // after an empty match).
    bool execNext();

    // The last match: 1-based position and length; -1 when there is none.
    int matchPos() const { return matchStart_ < 0 ? -1 : int(matchStart_ + 1); }
    int matchLen() const { return matchStart_ < 0 ? -1 : int(matchEnd_ - matchStart_); }
    QByteArray match() const;

    // The translation handed to the matching library, for tests and fuzzing.
    const std::string& translation() const;

    static QString errorMsg(int code) { return regexErrorMessage(code); }

private:
    struct Program;

    void compileIfNeeded();
    bool search(qsizetype offset);

    QByteArray expression_;
    bool compilePending_ = false;
    std::unique_ptr<Program> program_;
    QByteArray input_;
    bool searched_ = false;
    qsizetype matchStart_ = -1;
    qsizetype matchEnd_ = -1;
};

}  // namespace vorlin
