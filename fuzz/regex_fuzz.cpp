// Feeds random patterns and texts to the pattern engine. Any pattern the
// parser accepts must be accepted by the matching library too (else the
// translation is wrong), nothing may crash, and on a small part of the
// dialect (literals, classes, ".", "*", "+", "?", "|", groups) every match
// must agree with a plain backtracking matcher written here.
#include "regex/RegExpr.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using vorlin::ERegExpr;
using vorlin::TRegExpr;
namespace code = vorlin::regex_error;

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::string rest() { return std::string(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The reference: a pattern tree matched by backtracking in Perl's order.
struct Ref {
    enum Kind { Set, Seq, Alt, Star, Plus, Opt, Group } kind;
    std::vector<bool> set = std::vector<bool>(256);
    std::vector<std::unique_ptr<Ref>> children;
};

using Continuation = std::function<bool(std::size_t)>;

// The reference backtracks without any cleverness; past this many steps a
// comparison is given up rather than left to run for minutes.
constexpr long kReferenceBudget = 200000;
long referenceSteps = 0;
struct BudgetSpent {};

bool matchRef(const Ref& node, const std::string& text, std::size_t i, const Continuation& next)
{
    if (++referenceSteps > kReferenceBudget)
        throw BudgetSpent{};
    switch (node.kind) {
    case Ref::Set:
        return i < text.size() && node.set[static_cast<unsigned char>(text[i])] && next(i + 1);
    case Ref::Group:
        return matchRef(*node.children[0], text, i, next);
    case Ref::Seq: {
        std::function<bool(std::size_t, std::size_t)> step = [&](std::size_t k, std::size_t at) {
            if (k == node.children.size())
                return next(at);
            return matchRef(*node.children[k], text, at, [&](std::size_t after) { return step(k + 1, after); });
        };
        return step(0, i);
    }
    case Ref::Alt:
        for (const auto& child : node.children)
            if (matchRef(*child, text, i, next))
                return true;
        return false;
    case Ref::Opt:
        return matchRef(*node.children[0], text, i, next) || next(i);
    case Ref::Star: {
        std::function<bool(std::size_t)> loop = [&](std::size_t at) {
            return matchRef(*node.children[0], text, at,
                            [&](std::size_t after) { return after > at && loop(after); })
                || next(at);
        };
        return loop(i);
    }
    case Ref::Plus: {
        std::function<bool(std::size_t)> loop = [&](std::size_t at) {
            return matchRef(*node.children[0], text, at, [&](std::size_t after) {
                return (after > at && loop(after)) || next(after);
            });
        };
        return loop(i);
    }
    }
    return false;
}

const char kAlphabet[] = "abc\n";

std::unique_ptr<Ref> generate(Bytes& in, std::string& pattern, int depth);

std::unique_ptr<Ref> generateAtom(Bytes& in, std::string& pattern, int depth)
{
    auto node = std::make_unique<Ref>();
    const int choice = in.next() % (depth > 3 ? 6 : 8);
    if (choice < 3) {
        node->kind = Ref::Set;
        node->set[static_cast<unsigned char>(kAlphabet[choice])] = true;
        pattern += kAlphabet[choice];
    } else if (choice == 3) {
        node->kind = Ref::Set;
        node->set.assign(256, true);
        pattern += '.';
    } else if (choice < 6) {
        node->kind = Ref::Set;
        const bool negated = choice == 5;
        const int members = in.next() % 3 + 1;
        std::vector<bool> set(256);
        pattern += negated ? "[^" : "[";
        for (int k = 0; k < members; ++k) {
            const char c = kAlphabet[in.next() % 3];
            set[static_cast<unsigned char>(c)] = true;
            pattern += c;
        }
        pattern += ']';
        for (int b = 0; b < 256; ++b)
            node->set[b] = negated ? !set[b] : set[b];
    } else {
        node->kind = Ref::Group;
        pattern += '(';
        node->children.push_back(generate(in, pattern, depth + 1));
        pattern += ')';
    }
    const int repeat = in.next() % 6;
    if (repeat < 3) {
        auto wrapped = std::make_unique<Ref>();
        wrapped->kind = repeat == 0 ? Ref::Star : repeat == 1 ? Ref::Plus : Ref::Opt;
        pattern += "*+?"[repeat];
        wrapped->children.push_back(std::move(node));
        return wrapped;
    }
    return node;
}

std::unique_ptr<Ref> generate(Bytes& in, std::string& pattern, int depth)
{
    auto alternatives = std::make_unique<Ref>();
    alternatives->kind = Ref::Alt;
    do {
        if (!alternatives->children.empty())
            pattern += '|';
        auto sequence = std::make_unique<Ref>();
        sequence->kind = Ref::Seq;
        const int length = in.next() % 4 + 1;
        for (int k = 0; k < length && !in.empty(); ++k)
            sequence->children.push_back(generateAtom(in, pattern, depth));
        alternatives->children.push_back(std::move(sequence));
    } while (alternatives->children.size() < 3 && in.next() % 4 == 0);
    return alternatives;
}

void compareWithReference(Bytes& in)
{
    std::string pattern;
    std::unique_ptr<Ref> reference = generate(in, pattern, 0);
    std::string text;
    for (int k = in.next() % 24; k > 0; --k)
        text += kAlphabet[in.next() % 4];

    TRegExpr engine;
    engine.setExpression(QByteArray::fromStdString(pattern));
    bool found;
    try {
        found = engine.exec(QByteArray::fromStdString(text));
    } catch (const ERegExpr& e) {
        if (e.errorCode() == code::InternalTranslation)
            std::abort();
        return;  // an empty loop the dialect rejects, or a search given up
    }

    std::size_t start = 0;
    std::size_t end = 0;
    bool expected = false;
    referenceSteps = 0;
    try {
        for (start = 0; start <= text.size() && !expected; ++start)
            expected = matchRef(*reference, text, start, [&](std::size_t e) {
                end = e;
                return true;
            });
    } catch (const BudgetSpent&) {
        return;
    }
    if (expected)
        --start;
    const bool agree = found == expected
        && (!found || (engine.matchPos() == int(start) + 1 && engine.matchLen() == int(end - start)));
    if (!agree) {
        std::fprintf(stderr, "pattern %s text %s: engine %d at %d+%d, reference %d at %zu+%zu\n", pattern.c_str(),
                     text.c_str(), found, engine.matchPos(), engine.matchLen(), expected, start + 1, end - start);
        std::abort();
    }
}

void anyPattern(Bytes& in)
{
    const std::uint8_t split = in.next();
    std::string all = in.rest();
    const std::size_t cut = all.empty() ? 0 : split % (all.size() + 1);
    TRegExpr engine;
    engine.options.i = split & 1;
    engine.options.m = split & 2;
    engine.options.g = !(split & 4);
    engine.setExpression(QByteArray::fromStdString(all.substr(0, cut)));
    const QByteArray text = QByteArray::fromStdString(all.substr(cut));
    try {
        int matches = 0;
        for (bool found = engine.exec(text); found && matches < 64; found = engine.execNext())
            ++matches;
    } catch (const ERegExpr& e) {
        if (e.errorCode() == code::InternalTranslation) {
            std::fprintf(stderr, "%s\n", e.what());
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    Bytes in(data + 1, size - 1);
    if (data[0] & 1)
        compareWithReference(in);
    else
        anyPattern(in);
    return 0;
}
