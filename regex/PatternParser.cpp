#include "regex/PatternParser.h"

#include "common/Integer.h"
#include "regex/CharacterSets.h"
#include "regex/CodePageCase.h"
#include "regex/ERegExpr.h"

#include <optional>

namespace vorlin::regex {
namespace {

using Kind = Node::Kind;
namespace code = regex_error;

constexpr int kMaxGroups = 14;
constexpr int kMaxCountDigits = 8;

ByteSet rangeSet(int first, int last)
{
    ByteSet set;
    for (int byte = first; byte <= last; ++byte)
        set.set(std::size_t(byte));
    return set;
}

ByteSet lineBreaks()
{
    ByteSet set;
    set.set('\r');
    set.set('\n');
    return set;
}

Node setNode(const ByteSet& set)
{
    Node node;
    node.kind = Kind::Set;
    node.set = set;
    return node;
}

Node assertionNode(Node::Assertion assertion)
{
    Node node;
    node.kind = Kind::Assertion;
    node.assertion = assertion;
    return node;
}

// Whether a node always takes at least one character.
bool hasWidth(const Node& node)
{
    switch (node.kind) {
    case Kind::Set:
    case Kind::Backref:
        return true;
    case Kind::Empty:
    case Kind::Assertion:
        return false;
    case Kind::Group:
        return hasWidth(node.children.front());
    case Kind::Sequence:
        for (const Node& child : node.children)
            if (hasWidth(child))
                return true;
        return false;
    case Kind::Alternation:
        for (const Node& child : node.children)
            if (!hasWidth(child))
                return false;
        return true;
    case Kind::Repeat:
        return node.min > 0 && hasWidth(node.children.front());
    }
    return false;
}

int loopDepth(const Node& node)
{
    int deepest = 0;
    for (const Node& child : node.children)
        deepest = std::max(deepest, loopDepth(child));
    const bool loop = node.kind == Kind::Repeat && node.children.front().kind == Kind::Group
        && (node.counted || !node.greedy);
    return deepest + (loop ? 1 : 0);
}

class Parser {
public:
    Parser(const QByteArray& pattern, Options options) : p_(pattern), options_(options) {}

    ParsedPattern run()
    {
        ParsedPattern result;
        result.root = parseAlternatives(false);
        if (pos_ < p_.size()) {
            if (p_[pos_] == ')') {
                ++pos_;
                fail(code::UnmatchedClose);
            }
            fail(code::JunkOnEnd);
        }
        result.groupCount = groups_;
        result.loopDepth = loopDepth(result.root);
        return result;
    }

private:
    [[noreturn]] void fail(int errorCode) const
    {
        throw ERegExpr(errorCode,
                       regexErrorMessage(errorCode) + QStringLiteral(" (pos %1)").arg(std::min<qsizetype>(pos_, p_.size())),
                       int(std::min<qsizetype>(pos_, p_.size())));
    }

    // The end of the pattern: its length, or a zero byte, which ends it.
    bool atEnd() const { return pos_ >= p_.size() || p_[pos_] == '\0'; }
    unsigned char peek() const { return static_cast<unsigned char>(p_[pos_]); }

    void skipIgnored()
    {
        if (!options_.x)
            return;
        while (!atEnd()) {
            const char c = p_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++pos_;
            } else if (c == '#') {
                while (!atEnd() && p_[pos_] != '\r' && p_[pos_] != '\n')
                    ++pos_;
            } else {
                break;
            }
        }
    }

    Node parseAlternatives(bool inGroup)
    {
        std::vector<Node> branches;
        branches.push_back(parseBranch());
        while (!atEnd() && p_[pos_] == '|') {
            ++pos_;
            branches.push_back(parseBranch());
        }
        if (inGroup) {
            if (atEnd() || p_[pos_] != ')') {
                pos_ = p_.size();
                fail(code::UnmatchedOpen);
            }
            ++pos_;
        }
        if (branches.size() == 1)
            return std::move(branches.front());
        Node node;
        node.kind = Kind::Alternation;
        node.children = std::move(branches);
        return node;
    }

    Node parseBranch()
    {
        Node sequence;
        sequence.kind = Kind::Sequence;
        while (true) {
            skipIgnored();
            if (atEnd() || p_[pos_] == '|' || p_[pos_] == ')')
                break;
            const char c = p_[pos_];
            if (c == '*' || c == '+' || c == '?') {
                ++pos_;
                fail(code::RepeatFollowsNothing);
            }
            std::optional<Node> atom = parseAtom();
            if (!atom)
                continue;  // an option switch or a comment
            sequence.children.push_back(parseRepeats(std::move(*atom)));
        }
        return sequence;
    }

    struct Count {
        int min;
        int max;
    };

    // A "{" that opens a repeat count: digits, optionally "," and digits, "}".
    bool bracesAhead() const
    {
        qsizetype i = pos_ + 1;
        qsizetype digits = 0;
        while (i < p_.size() && p_[i] >= '0' && p_[i] <= '9') {
            ++i;
            ++digits;
        }
        if (digits == 0)
            return false;
        if (i < p_.size() && p_[i] == ',') {
            ++i;
            while (i < p_.size() && p_[i] >= '0' && p_[i] <= '9')
                ++i;
        }
        return i < p_.size() && p_[i] == '}';
    }

    int readCount()
    {
        qsizetype digits = 0;
        long long value = 0;
        while (pos_ < p_.size() && p_[pos_] >= '0' && p_[pos_] <= '9') {
            value = std::min(value * 10 + (p_[pos_] - '0'), 999999999LL);
            ++pos_;
            if (++digits > kMaxCountDigits)
                fail(code::BracesArgumentTooBig);
        }
        return int(value);
    }

    bool repeatAhead()
    {
        skipIgnored();
        if (atEnd())
            return false;
        const char c = p_[pos_];
        return c == '*' || c == '+' || c == '?' || (c == '{' && bracesAhead());
    }

    Node parseRepeats(Node atom)
    {
        if (!repeatAhead())
            return atom;
        const char c = p_[pos_++];
        Count count{0, Node::kUnbounded};
        if (c == '+') {
            count.min = 1;
        } else if (c == '?') {
            count.max = 1;
        } else if (c == '{') {
            count.min = readCount();
            count.max = count.min;
            if (p_[pos_] == ',') {
                ++pos_;
                count.max = p_[pos_] == '}' ? Node::kUnbounded : readCount();
            }
            ++pos_;  // "}"
            if (count.max != Node::kUnbounded && count.min > count.max)
                fail(code::BraceMinGreaterThanMax);
        }
        if (c != '?' && !hasWidth(atom))
            fail(code::OperandCouldBeEmpty);
        bool greedy = true;
        if (!atEnd() && p_[pos_] == '?') {
            ++pos_;
            greedy = false;
        }
        if (!options_.g)
            greedy = false;
        if (repeatAhead()) {
            ++pos_;
            fail(code::NestedRepeat);
        }
        Node repeat;
        repeat.kind = Kind::Repeat;
        repeat.min = count.min;
        repeat.max = count.max;
        repeat.greedy = greedy;
        repeat.counted = c == '{';
        repeat.children.push_back(std::move(atom));
        return repeat;
    }

    Node literal(unsigned char byte) const
    {
        ByteSet set;
        set.set(byte);
        if (options_.i)
            set.set(otherCase()[byte]);
        return setNode(set);
    }

    ByteSet withCases(ByteSet set) const
    {
        if (!options_.i)
            return set;
        const ByteSet original = set;
        for (int byte = 0; byte < 256; ++byte)
            if (original.test(std::size_t(byte)))
                set.set(otherCase()[std::size_t(byte)]);
        return set;
    }

    std::optional<Node> parseAtom()
    {
        const unsigned char c = peek();
        ++pos_;
        switch (c) {
        case '(':
            return parseGroup();
        case '[':
            return parseClass();
        case '.':
            return setNode(options_.s ? ~ByteSet() : ~lineBreaks());
        case '^':
            return assertionNode(options_.m ? Node::Assertion::LineStart : Node::Assertion::TextStart);
        case '$':
            return assertionNode(options_.m ? Node::Assertion::LineEnd : Node::Assertion::TextEnd);
        case '\\':
            return parseEscape();
        default:
            return literal(c);
        }
    }

    std::optional<Node> parseGroup()
    {
        if (!atEnd() && p_[pos_] == '?') {
            ++pos_;
            if (!atEnd() && p_[pos_] == '#') {
                const qsizetype close = p_.indexOf(')', pos_);
                if (close < 0) {
                    pos_ = p_.size();
                    fail(code::UnclosedComment);
                }
                pos_ = close + 1;
                return std::nullopt;
            }
            parseOptionSwitch();
            return std::nullopt;
        }
        if (++groups_ > kMaxGroups)
            fail(code::TooManyGroups);
        Node group;
        group.kind = Kind::Group;
        group.number = groups_;
        const Options outer = options_;
        group.children.push_back(parseAlternatives(true));
        options_ = outer;  // a switch inside holds to the group's end
        return group;
    }

    void parseOptionSwitch()
    {
        bool on = true;
        Options changed = options_;
        while (true) {
            if (pos_ >= p_.size()) {
                fail(code::UnrecognizedModifier);
            }
            const char c = p_[pos_++];
            if (c == ')')
                break;
            switch (c) {
            case '-': on = false; break;
            case 'i': case 'I': changed.i = on; break;
            case 'r': case 'R': changed.r = on; break;
            case 's': case 'S': changed.s = on; break;
            case 'g': case 'G': changed.g = on; break;
            case 'm': case 'M': changed.m = on; break;
            case 'x': case 'X': changed.x = on; break;
            default: fail(code::UnrecognizedModifier);
            }
        }
        options_ = changed;
    }

    // One byte from "\x": two hexadecimal digits, or digits in braces.
    unsigned char parseHex()
    {
        const auto digit = hexDigitValue;
        if (pos_ < p_.size() && p_[pos_] == '{') {
            const qsizetype close = p_.indexOf('}', pos_);
            ++pos_;
            if (close < 0) {
                pos_ = p_.size();
                fail(code::NoHexCode);
            }
            if (close == pos_) {
                ++pos_;
                fail(code::NoHexCode);
            }
            int value = 0;
            while (pos_ < close) {
                const int d = digit(p_[pos_++]);
                if (d < 0)
                    fail(code::BadHexDigit);
                value = value * 16 + d;
                if (value > 0xFF)
                    fail(code::HexCodeTooBig);
            }
            ++pos_;
            return static_cast<unsigned char>(value);
        }
        if (pos_ + 1 >= p_.size()) {
            if (pos_ < p_.size() && digit(p_[pos_]) < 0) {
                ++pos_;
                fail(code::BadHexDigit);
            }
            pos_ = p_.size();
            fail(code::NoHexCode);
        }
        const int high = digit(p_[pos_++]);
        if (high < 0)
            fail(code::BadHexDigit);
        const int low = digit(p_[pos_++]);
        if (low < 0)
            fail(code::BadHexDigit);
        return static_cast<unsigned char>(high * 16 + low);
    }

    // The byte of an escape that stands for one character, if it is one.
    std::optional<unsigned char> escapedByte(char c)
    {
        switch (c) {
        case 't': return '\t';
        case 'n': return '\n';
        case 'r': return '\r';
        case 'f': return '\f';
        case 'a': return '\a';
        case 'e': return 0x1B;
        case 'x': return parseHex();
        default: return std::nullopt;
        }
    }

    std::optional<Node> parseEscape()
    {
        if (pos_ >= p_.size())
            fail(code::TrailingBackslash);
        const char c = p_[pos_++];
        switch (c) {
        case 'w': return setNode(wordSet());
        case 'W': return setNode(~wordSet());
        case 'd': return setNode(digitSet());
        case 'D': return setNode(~digitSet());
        case 's': return setNode(spaceSet());
        case 'S': return setNode(~spaceSet());
        case 'b': return assertionNode(Node::Assertion::WordBoundary);
        case 'B': return assertionNode(Node::Assertion::NotWordBoundary);
        case 'A': return assertionNode(Node::Assertion::TextStart);
        case 'Z': return assertionNode(Node::Assertion::TextEnd);
        default: break;
        }
        if (c >= '1' && c <= '9') {
            Node reference;
            reference.kind = Kind::Backref;
            reference.number = c - '0';
            reference.caseless = options_.i;
            return reference;
        }
        if (const auto byte = escapedByte(c))
            return literal(*byte);
        return literal(static_cast<unsigned char>(c));
    }

    // One member of a class: a byte, or a set for \d \s \w.
    struct ClassItem {
        ByteSet set;
        int byte = -1;  // when the item is one byte
    };

    ClassItem classItem()
    {
        const char c = p_[pos_++];
        if (c != '\\')
            return {{}, static_cast<unsigned char>(c)};
        if (pos_ >= p_.size())
            fail(code::ClassTrailingBackslash);
        const char e = p_[pos_++];
        switch (e) {
        case 'd': return {digitSet()};
        case 's': return {spaceSet()};
        case 'w': return {wordSet()};
        default: break;
        }
        if (const auto byte = escapedByte(e))
            return {{}, *byte};
        return {{}, static_cast<unsigned char>(e)};
    }

    ByteSet range(int first, int last)
    {
        if (options_.r && first == 0xE0 && last == 0xDF)
            return range(0xE0, 0xFF) | range(0xC0, 0xDF);
        if (first > last)
            fail(code::InvalidRange);
        ByteSet set = rangeSet(first, last);
        if (options_.r && first == 0xE0 && last == 0xFF)
            set.set(0xB8);
        if (options_.r && first == 0xC0 && last == 0xDF)
            set.set(0xA8);
        return set;
    }

    Node parseClass()
    {
        bool negated = false;
        if (pos_ < p_.size() && p_[pos_] == '^') {
            negated = true;
            ++pos_;
        }
        ByteSet set;
        bool first = true;
        while (true) {
            if (pos_ >= p_.size()) {
                fail(code::UnmatchedBracket);
            }
            if (p_[pos_] == ']' && !first) {
                ++pos_;
                break;
            }
            first = false;
            const ClassItem item = classItem();
            const bool rangeFollows = item.byte >= 0 && pos_ + 1 < p_.size() && p_[pos_] == '-' && p_[pos_ + 1] != ']';
            if (!rangeFollows) {
                if (item.byte >= 0)
                    set.set(std::size_t(item.byte));
                else
                    set |= item.set;
                continue;
            }
            ++pos_;  // "-"
            const ClassItem last = classItem();
            if (last.byte < 0) {
                // "a-\d": no range; the dash is a member.
                set.set(std::size_t(item.byte));
                set.set('-');
                set |= last.set;
                continue;
            }
            set |= range(item.byte, last.byte);
        }
        set = withCases(set);
        return setNode(negated ? ~set : set);
    }

    const QByteArray& p_;
    qsizetype pos_ = 0;
    Options options_;
    int groups_ = 0;
};

}  // namespace

ParsedPattern parsePattern(const QByteArray& pattern, Options options)
{
    return Parser(pattern, options).run();
}

}  // namespace vorlin::regex
