#include "regex/PcreTranslation.h"

#include "regex/CharacterSets.h"
#include "regex/ERegExpr.h"

#include <cstdio>

namespace vorlin::regex {
namespace {

using Kind = Node::Kind;

// The library's largest repeat count.
constexpr int kMaxLibraryCount = 65535;

void appendByte(std::string& out, int byte)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", byte);
    out += hex;
}

std::string setText(const ByteSet& set)
{
    const std::size_t count = set.count();
    if (count == 0)
        return "(?!)";
    std::string out;
    if (count == 1) {
        for (int byte = 0; byte < 256; ++byte)
            if (set.test(std::size_t(byte)))
                appendByte(out, byte);
        return out;
    }
    out += '[';
    for (int byte = 0; byte < 256;) {
        if (!set.test(std::size_t(byte))) {
            ++byte;
            continue;
        }
        int last = byte;
        while (last + 1 < 256 && set.test(std::size_t(last + 1)))
            ++last;
        appendByte(out, byte);
        if (last > byte) {
            if (last > byte + 1)
                out += '-';
            appendByte(out, last);
        }
        byte = last + 1;
    }
    out += ']';
    return out;
}

class Translator {
public:
    explicit Translator(const ParsedPattern& pattern) : pattern_(pattern) {}

    std::string run() { return emit(pattern_.root); }

private:
    std::string emit(const Node& node)
    {
        switch (node.kind) {
        case Kind::Empty:
            return {};
        case Kind::Set:
            return setText(node.set);
        case Kind::Assertion:
            return assertion(node.assertion);
        case Kind::Group:
            return "(" + emit(node.children.front()) + ")";
        case Kind::Backref:
            if (node.number > pattern_.groupCount)
                return "(?!)";  // a group that does not exist never matched
            return (node.caseless ? "(?i:\\g{" : "(?:\\g{") + std::to_string(node.number) + "})";
        case Kind::Sequence: {
            std::string out;
            for (const Node& child : node.children)
                out += emit(child);
            return out;
        }
        case Kind::Alternation: {
            std::string out = "(?:";
            for (std::size_t i = 0; i < node.children.size(); ++i) {
                if (i)
                    out += '|';
                out += emit(node.children[i]);
            }
            return out + ")";
        }
        case Kind::Repeat:
            return repeat(node);
        }
        return {};
    }

    static std::string quantifier(int min, int max, bool greedy)
    {
        std::string q;
        if (min == 0 && max == Node::kUnbounded)
            q = "*";
        else if (min == 1 && max == Node::kUnbounded)
            q = "+";
        else if (min == 0 && max == 1)
            q = "?";
        else if (max == Node::kUnbounded)
            q = "{" + std::to_string(min) + ",}";
        else if (min == max)
            q = "{" + std::to_string(min) + "}";
        else
            q = "{" + std::to_string(min) + "," + std::to_string(max) + "}";
        return greedy ? q : q + "?";
    }

    static bool holdsGroup(const Node& node)
    {
        if (node.kind == Kind::Group)
            return true;
        for (const Node& child : node.children)
            if (holdsGroup(child))
                return true;
        return false;
    }

    std::string repeat(const Node& node)
    {
        const Node& operand = node.children.front();
        // A set, a group and a back-reference are atoms already; wrapping a
        // set would make the library loop over a group instead of a class.
        const bool isAtom = (operand.kind == Kind::Set && operand.set.any()) || operand.kind == Kind::Group
            || operand.kind == Kind::Backref;
        const std::string atom = isAtom ? emit(operand) : "(?:" + emit(operand) + ")";
        const bool fits = node.min <= kMaxLibraryCount && (node.max == Node::kUnbounded || node.max <= kMaxLibraryCount);
        if (fits)
            return atom + quantifier(node.min, node.max, node.greedy);

        // Counts beyond the library's limit: the operand repeated in blocks.
        // A block copies the operand, which a group inside it cannot bear.
        if (holdsGroup(operand))
            throw ERegExpr(regex_error::BracesArgumentTooBig,
                           regexErrorMessage(regex_error::BracesArgumentTooBig) + QStringLiteral(" (pos 0)"));
        std::string out;
        const auto blocks = [&](int count, bool optional) {
            const int full = count / kMaxLibraryCount;
            const int rest = count % kMaxLibraryCount;
            const std::string lazy = node.greedy ? "" : "?";
            if (full > 0) {
                out += "(?:" + atom + (optional ? "{0," : "{") + std::to_string(kMaxLibraryCount) + "}" + lazy + ")";
                out += optional ? "{0," + std::to_string(full) + "}" + lazy : "{" + std::to_string(full) + "}";
            }
            if (rest > 0)
                out += atom + (optional ? "{0," + std::to_string(rest) + "}" + lazy : "{" + std::to_string(rest) + "}");
        };
        blocks(node.min, false);
        if (node.max == Node::kUnbounded)
            out += atom + (node.greedy ? "*" : "*?");
        else
            blocks(node.max - node.min, true);
        return out;
    }

    std::string assertion(Node::Assertion which) const
    {
        const std::string word = pcreWordClass();
        switch (which) {
        case Node::Assertion::TextStart:
            return "\\A";
        case Node::Assertion::TextEnd:
            return "\\z";
        case Node::Assertion::LineStart:
            // after LF, or after a CR that no LF follows: CR LF is one break
            return "(?:\\A|(?<=\\x0a)|(?<=\\x0d)(?!\\x0a))";
        case Node::Assertion::LineEnd:
            return "(?:\\z|(?=\\x0d)|(?<!\\x0d)(?=\\x0a))";
        case Node::Assertion::WordBoundary:
            return "(?:(?<=" + word + ")(?!" + word + ")|(?<!" + word + ")(?=" + word + "))";
        case Node::Assertion::NotWordBoundary:
            return "(?:(?<=" + word + ")(?=" + word + ")|(?<!" + word + ")(?!" + word + "))";
        }
        return {};
    }

    const ParsedPattern& pattern_;
};

}  // namespace

std::string pcreWordClass()
{
    static const std::string text = setText(wordSet());
    return text;
}

std::string translateToPcre(const ParsedPattern& pattern)
{
    return Translator(pattern).run();
}

}  // namespace vorlin::regex
