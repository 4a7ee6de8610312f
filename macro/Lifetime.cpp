// The lifetimes of what macro programs make: the run number, the run arena, the carrying of
// texts from one run to the next, labels, routines, files and the string store.
#include "macro/Lifetime.h"

#include "macro/Builtins.h"
#include "macro/Errors.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <cstring>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// The only door to Symbol's run stamp.
struct RunStamp {
    static unsigned& of(Symbol* s) { return s->runStamp_; }
    static unsigned of(const Symbol* s) { return s->runStamp_; }
};

namespace {

unsigned runNumber = 1;
char emptyText[1] = {0};

// A bump allocator over malloc'd chunks; freed as a whole.
class Arena {
public:
    ~Arena() { release(); }
    void* tryAlloc(size_t size)
    {
        size = (size + 7) & ~size_t(7);
        if (size == 0) size = 8;
        if (size > kChunk / 4) {
            void* p = std::malloc(size);
            if (p) chunks_.push_back(p);
            return p;
        }
        if (size > left_) {
            void* chunk = std::malloc(kChunk);
            if (!chunk) return nullptr;
            chunks_.push_back(chunk);
            cur_ = static_cast<char*>(chunk);
            left_ = kChunk;
        }
        char* p = cur_;
        cur_ += size;
        left_ -= size;
        return p;
    }
    void release()
    {
        for (void* p : chunks_) std::free(p);
        chunks_.clear();
        cur_ = nullptr;
        left_ = 0;
    }
    void swap(Arena& other)
    {
        std::swap(chunks_, other.chunks_);
        std::swap(cur_, other.cur_);
        std::swap(left_, other.left_);
    }

private:
    static constexpr size_t kChunk = 64 * 1024;
    std::vector<void*> chunks_;
    char* cur_ = nullptr;
    size_t left_ = 0;
};

Arena runArena;

// Every text a string variable or a string vector's element holds.
template <class F>
void forEachVariableText(F&& f)
{
    for (Symbol* s : symAll()) {
        if (s->type == SYM_STRVAR) f(s->u.str);
        if (s->vecKind == SYM_STRVEC) {
            auto** items = static_cast<char**>(s->vecData);
            for (int i = 0; i < s->vecSize; ++i) f(items[i]);
        }
    }
}

// The texts of string instructions, each its own block, freed as soon as a collection finds that
// nothing reaches it. A collection runs when the texts made since the last one pass those that
// were still reached then (and at least kCollectEvery, and the pointers it had to look at): what
// is held stays within about twice what is in use, plus that much, and always within the budget.
class TextHeap {
public:
    char* tryAlloc(size_t size)
    {
        if (size > kTextBudget - kTextOverhead) return nullptr;
        const size_t cost = macroTextCost(size);
        if (held_ + cost > kTextBudget || sinceCollect_ + cost > allowance_) collect(true);
        if (held_ + cost > kTextBudget) return nullptr;
        auto* block = static_cast<Block*>(std::malloc(sizeof(Block) + size));
        if (!block) return nullptr;
        block->cost = cost;
        try {
            blocks_.push_back(block);
            reached_.push_back(0);
        } catch (const std::bad_alloc&) {
            if (blocks_.size() > reached_.size()) blocks_.pop_back();
            std::free(block);
            return nullptr;
        }
        held_ += cost;
        sinceCollect_ += cost;
        peak_ = std::max(peak_, held_);
        return textOf(block);
    }

    bool owns(const char* text)
    {
        sort();
        return find(text) != kNone;
    }

    // Frees every block that no string variable, string vector element or (withStack) value on
    // the stack reaches.
    void collect(bool withStack)
    {
        sort();
        size_t looked = 0;
        auto reach = [this](const char* text) {
            const size_t i = find(text);
            if (i != kNone) reached_[i] = 1;
        };
        forEachVariableText([&](char*& text) {
            ++looked;
            reach(text);
        });
        if (withStack) {
            // The live values, and the few above them that the instruction asking may have just
            // popped and still be reading: nothing has been pushed over them yet.
            const Datum* end = std::min(stackPtr + kPoppedArguments, valueStack + STACK_SIZE);
            for (const Datum* d = valueStack; d < end; ++d) reach(d->str);
        }
        // Only the blocks freed are looked at: millions of kept ones stay untouched.
        size_t kept = 0;
        for (size_t i = 0; i < blocks_.size(); ++i) {
            if (reached_[i]) {
                blocks_[kept++] = blocks_[i];
            } else {
                held_ -= blocks_[i]->cost;
                std::free(blocks_[i]);
            }
        }
        blocks_.resize(kept);
        reached_.assign(kept, 0);
        sortedCount_ = kept;
        // The next collection comes when the texts made since pass those still reached, so that
        // what is held stays within about twice what is in use. A collection looks at every text
        // a variable holds, and string vectors may hold millions: it also waits for as many bytes
        // as it looked at pointers, so that looking costs no more than the making did. The budget
        // caps what is held either way.
        allowance_ = std::max({kCollectEvery, held_, looked * sizeof(char*)});
        sinceCollect_ = 0;
    }

    void startRun() { peak_ = held_; }
    MacroTextFigures figures() const { return {held_, peak_}; }

private:
    struct Block {
        size_t cost;  // macroTextCost of the text's size
    };
    static constexpr size_t kCollectEvery = size_t(4) << 20;
    // More than any instruction pops before it makes its result (the estimate built-ins take ten).
    static constexpr int kPoppedArguments = 16;
    static constexpr size_t kNone = ~size_t(0);

    static char* textOf(Block* b) { return reinterpret_cast<char*>(b + 1); }

    // The blocks in address order: those made since the last collection are sorted alone and
    // merged with the rest, which are in order already.
    void sort()
    {
        if (sortedCount_ == blocks_.size()) return;
        const auto middle = blocks_.begin() + static_cast<std::ptrdiff_t>(sortedCount_);
        // Blocks are mostly handed out in rising addresses.
        if (!std::is_sorted(middle, blocks_.end(), std::less<Block*>())) std::sort(middle, blocks_.end(), std::less<Block*>());
        std::inplace_merge(blocks_.begin(), middle, blocks_.end(), std::less<Block*>());
        sortedCount_ = blocks_.size();
    }
    // The place in blocks_ (sorted) of the block whose text starts at text, or kNone.
    size_t find(const char* text)
    {
        // Most texts a collection asks about are none of these (the empty text that string vectors
        // start with, literals): they are told apart without a search.
        std::less<const char*> before;
        if (!text || blocks_.empty() || before(text, textOf(blocks_.front())) || before(textOf(blocks_.back()), text))
            return kNone;
        // Texts are mostly asked about in the order they were made (a vector filled by a loop), so
        // the block after the last one found is tried before a search.
        if (next_ < blocks_.size() && textOf(blocks_[next_]) == text) return next_++;
        auto it = std::lower_bound(blocks_.begin(), blocks_.end(), text,
                                   [before](Block* b, const char* t) { return before(textOf(b), t); });
        if (it == blocks_.end() || textOf(*it) != text) return kNone;
        next_ = static_cast<size_t>(it - blocks_.begin()) + 1;
        return next_ - 1;
    }

    std::vector<Block*> blocks_;
    std::vector<unsigned char> reached_;  // beside blocks_: whether the collection under way reached it
    size_t sortedCount_ = 0;              // blocks_[0, sortedCount_) are in address order
    size_t next_ = 0;                     // where find looks first: after the block it found last
    size_t held_ = 0;
    size_t peak_ = 0;
    size_t sinceCollect_ = 0;
    size_t allowance_ = kCollectEvery;  // what may be made before the next collection
};

TextHeap& textHeap = *new TextHeap;  // never destroyed: variables keep their texts to the end


// Every label this run has defined (a second definition is an error), and those defined while
// the current top-level statement was read.
std::unordered_set<const Symbol*> runLabels;
std::vector<Symbol*> statementLabels;

using Moved = std::unordered_map<const char*, char*>;

char* movedText(char* text, const Moved& moved)
{
    auto it = text ? moved.find(text) : moved.end();
    return it == moved.end() ? text : it->second;
}

}  // namespace

// A new run: what the text heap holds and no variable reaches goes; the texts user variables hold
// in the old arena (the last run's literals, the string store's slots) are copied into a fresh
// arena, as cheaply as the run made them; the old arena goes. Texts of the heap stay where they are.
void lifetimeStartRun()
{
    // Nothing of the last run is on the stack any more.
    textHeap.collect(false);
    Arena old;
    old.swap(runArena);
    Moved moved;
    try {
        forEachVariableText([&moved](char*& text) {
            // Shared texts stay shared.
            if (!text || text == emptyText || textHeap.owns(text) || moved.count(text)) return;
            size_t n = std::strlen(text);
            char* copy = static_cast<char*>(runArena.tryAlloc(n + 1));
            if (!copy) throw std::bad_alloc();
            std::memcpy(copy, text, n + 1);
            moved.emplace(text, copy);
        });
    } catch (const std::bad_alloc&) {
        // No text has moved yet: the variables keep theirs where they are, and the run ends
        // with the memory error.
        runArena.swap(old);
        throw;
    }
    // Nothing allocates from here on: the variables take their copies and the old texts go.
    if (!moved.empty()) {
        forEachVariableText([&moved](char*& text) {
            if (text && text != emptyText && !textHeap.owns(text)) text = movedText(text, moved);
        });
    }
    for (Symbol* s : symAll()) {
        // A label counts only in its run; afterwards its name is free for any use.
        if (s->type == SYM_LABEL) {
            s->type = SYM_UNDEF;
            s->u.val = 0.0;
        }
    }
    old.release();
    textHeap.startRun();
    ++runNumber;
    runLabels.clear();
    statementLabels.clear();
}


void lifetimeEndStatement()
{
    for (Symbol* label : statementLabels) {
        // Top-level code is compiled over the same cells statement after statement; a label into
        // it would lead into whatever the next statement put there. Labels inside a routine stay.
        if (label->type == SYM_LABEL && label->u.defn >= codeBase) RunStamp::of(label) = 0;
    }
    statementLabels.clear();
}

RunLifetime::RunLifetime()
{
    // Files an earlier run left open (a run that was never ended) go first.
    macroCloseFiles();
    ResetMacroStrings();
}

RunLifetime::~RunLifetime()
{
    macroCloseFiles();
    ClearMacroStrings();
}

bool installedThisRun(const Symbol* s) { return RunStamp::of(s) == runNumber; }
void stampThisRun(Symbol* s) { RunStamp::of(s) = runNumber; }

bool defineLabel(Symbol* label, int position)
{
    // A label that an earlier run defined may be defined again: each run compiles afresh.
    if (label->type == SYM_LABEL && runLabels.count(label)) return false;
    label->type = SYM_LABEL;
    label->u.defn = position;
    stampThisRun(label);
    runLabels.insert(label);
    statementLabels.push_back(label);
    return true;
}

bool labelFromThisRun(const Symbol* label) { return label->type == SYM_LABEL && installedThisRun(label); }

bool routineFromThisRun(const Symbol* routine)
{
    return (routine->type == SYM_FUNCTION || routine->type == SYM_PROCEDURE) && installedThisRun(routine);
}

void* macroAlloc(size_t size)
{
    void* p = runArena.tryAlloc(size);
    if (!p) macroError("not enought memory", nullptr);
    return p;
}

char* macroTryAlloc(size_t size) { return static_cast<char*>(runArena.tryAlloc(size)); }

char* macroStrDup(const char* text)
{
    if (!text) return nullptr;
    size_t n = std::strlen(text);
    auto* copy = static_cast<char*>(macroAlloc(n + 1));
    std::memcpy(copy, text, n + 1);
    return copy;
}

char* macroEmptyText() { return emptyText; }

char* macroNewText(size_t size) { return textHeap.tryAlloc(size); }

MacroTextFigures macroTextFigures() { return textHeap.figures(); }
