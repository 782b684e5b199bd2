#pragma once

#include <bitset>
#include <cstdint>
#include <vector>

namespace vorlin::regex {

// A set of Windows-1250 bytes: what one character of the text may be.
using ByteSet = std::bitset<256>;

// A parsed pattern. Every option of the dialect is already applied: case
// folding has made literals into sets, "." is the set it stands for, "^" and
// "$" know whether they look at line breaks, and every repeat knows whether
// it is greedy.
struct Node {
    enum class Kind : std::uint8_t { Empty, Set, Assertion, Group, Backref, Sequence, Alternation, Repeat };
    enum class Assertion : std::uint8_t { TextStart, TextEnd, LineStart, LineEnd, WordBoundary, NotWordBoundary };

    static constexpr int kUnbounded = -1;

    Kind kind = Kind::Empty;
    ByteSet set;                                  // Set
    Assertion assertion = Assertion::TextStart;   // Assertion
    int number = 0;                               // Group index, Backref target
    bool caseless = false;                        // Backref
    int min = 0;                                  // Repeat
    int max = kUnbounded;                         // Repeat
    bool greedy = true;                           // Repeat
    bool counted = false;                         // Repeat written as {...}
    std::vector<Node> children;
};

// A pattern ready for translation.
struct ParsedPattern {
    Node root;
    int groupCount = 0;
    // The deepest nesting of repeated groups that are counted ({...}) or
    // not greedy: the classic engine kept at most 10 of them active.
    int loopDepth = 0;
};

}  // namespace vorlin::regex
