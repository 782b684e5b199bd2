#include "regex/RegExpr.h"

#include "common/Win1250.h"
#include "regex/CodePageCase.h"
#include "regex/PcreTranslation.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace vorlin {
namespace {

// The most repeats active at once that the classic engine kept track of.
constexpr int kMaxLoopDepth = 10;
// Bounds on one search, so that a pattern that backtracks without end
// fails with an error instead of holding the program.
constexpr std::uint32_t kMatchLimit = 50'000'000;
constexpr std::uint32_t kDepthLimit = 5'000'000;
constexpr std::size_t kHeapLimitKb = 512 * 1024;
constexpr std::size_t kJitStackMax = 64 * 1024 * 1024;

QString libraryMessage(int code)
{
    PCRE2_UCHAR buffer[256];
    pcre2_get_error_message(code, buffer, sizeof buffer);
    return QString::fromLatin1(reinterpret_cast<const char*>(buffer));
}

}  // namespace

struct TRegExpr::Program {
    std::string translation;
    int loopDepth = 0;
    pcre2_compile_context* compileContext = nullptr;
    pcre2_code* code = nullptr;
    pcre2_match_context* matchContext = nullptr;
    pcre2_match_data* matchData = nullptr;
    pcre2_jit_stack* jitStack = nullptr;
    bool jit = false;

    ~Program()
    {
        pcre2_match_data_free(matchData);
        pcre2_match_context_free(matchContext);
        pcre2_jit_stack_free(jitStack);
        pcre2_code_free(code);
        pcre2_compile_context_free(compileContext);
    }
};

TRegExpr::TRegExpr() = default;
TRegExpr::~TRegExpr() = default;

void TRegExpr::setExpression(const QByteArray& pattern)
{
    if (pattern == expression_ && !(pattern.isEmpty() && compilePending_))
        return;
    expression_ = pattern;
    compilePending_ = !pattern.isEmpty();
}

void TRegExpr::setExpression(const QString& pattern)
{
    setExpression(win1250::encode(pattern));
}

const std::string& TRegExpr::translation() const
{
    static const std::string none;
    return program_ ? program_->translation : none;
}

void TRegExpr::compileIfNeeded()
{
    if (!compilePending_)
        return;
    const regex::ParsedPattern parsed = regex::parsePattern(expression_, options);

    auto program = std::make_unique<Program>();
    program->translation = regex::translateToPcre(parsed);
    program->loopDepth = parsed.loopDepth;
    program->compileContext = pcre2_compile_context_create(nullptr);
    pcre2_set_character_tables(program->compileContext, regex::pcreTables());
    int error = 0;
    PCRE2_SIZE offset = 0;
    program->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(program->translation.data()),
                                  program->translation.size(), 0, &error, &offset, program->compileContext);
    if (!program->code)
        throw ERegExpr(regex_error::InternalTranslation,
                       regexErrorMessage(regex_error::InternalTranslation) + QStringLiteral(": ") + libraryMessage(error));
    program->jit = pcre2_jit_compile(program->code, PCRE2_JIT_COMPLETE) == 0;
    program->matchContext = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(program->matchContext, kMatchLimit);
    pcre2_set_depth_limit(program->matchContext, kDepthLimit);
    pcre2_set_heap_limit(program->matchContext, kHeapLimitKb);
    if (program->jit) {
        program->jitStack = pcre2_jit_stack_create(32 * 1024, kJitStackMax, nullptr);
        pcre2_jit_stack_assign(program->matchContext, nullptr, program->jitStack);
    }
    program->matchData = pcre2_match_data_create_from_pattern(program->code, nullptr);

    program_ = std::move(program);
    compilePending_ = false;
}

bool TRegExpr::exec(const QByteArray& input)
{
    compileIfNeeded();
    if (!program_)
        throw ERegExpr(regex_error::NoExpression, regexErrorMessage(regex_error::NoExpression));
    if (program_->loopDepth > kMaxLoopDepth)
        throw ERegExpr(regex_error::LoopStackExceeded, regexErrorMessage(regex_error::LoopStackExceeded));
    input_ = input;
    searched_ = true;
    return search(0);
}

bool TRegExpr::exec(const QString& input)
{
    return exec(win1250::encode(input));
}

bool TRegExpr::execNext()
{
    if (!searched_)
        throw ERegExpr(1007, regexErrorMessage(1007));
    if (matchStart_ < 0)
        return false;
    const qsizetype from = matchEnd_ == matchStart_ ? matchEnd_ + 1 : matchEnd_;
    if (from > input_.size()) {
        matchStart_ = matchEnd_ = -1;
        return false;
    }
    return search(from);
}

bool TRegExpr::search(qsizetype offset)
{
    // The compiled machine code is called straight, without the checks of
    // the general entry: a run over a long text calls it once a match.
    const auto match = program_->jit ? pcre2_jit_match : pcre2_match;
    const int result = match(program_->code, reinterpret_cast<PCRE2_SPTR>(input_.constData()),
                             PCRE2_SIZE(input_.size()), PCRE2_SIZE(offset), 0, program_->matchData,
                             program_->matchContext);
    if (result == PCRE2_ERROR_NOMATCH) {
        matchStart_ = matchEnd_ = -1;
        return false;
    }
    if (result < 0) {
        matchStart_ = matchEnd_ = -1;
        throw ERegExpr(regex_error::TooComplex, regexErrorMessage(regex_error::TooComplex));
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(program_->matchData);
    matchStart_ = qsizetype(ovector[0]);
    matchEnd_ = qsizetype(ovector[1]);
    return true;
}

QByteArray TRegExpr::match() const
{
    if (matchStart_ < 0)
        return {};
    return input_.mid(matchStart_, matchEnd_ - matchStart_);
}

}  // namespace vorlin
