// The lifetimes of what macro programs make: the run number, the run arena, the carrying of
// texts from one run to the next, labels, routines, files and the string store.
#include "macro/Lifetime.h"

#include "macro/Builtins.h"
#include "macro/Errors.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"

#include <cstdlib>
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


// Every label this run has defined (a second definition is an error), and those defined while
// the current top-level statement was read.
std::unordered_set<const Symbol*> runLabels;
std::vector<Symbol*> statementLabels;

using Moved = std::unordered_map<const char*, char*>;

// Copies a text into the current arena once per run start (shared texts stay shared).
void copyOver(const char* text, Moved& moved)
{
    if (!text || text == emptyText || moved.count(text)) return;
    size_t n = std::strlen(text);
    char* copy = static_cast<char*>(runArena.tryAlloc(n + 1));
    if (!copy) throw std::bad_alloc();
    std::memcpy(copy, text, n + 1);
    moved.emplace(text, copy);
}

char* movedText(char* text, const Moved& moved)
{
    auto it = text ? moved.find(text) : moved.end();
    return it == moved.end() ? text : it->second;
}

}  // namespace

// A new run: the texts user variables hold move into a fresh arena, the old arena goes.
void lifetimeStartRun()
{
    Arena old;
    old.swap(runArena);
    Moved moved;
    try {
        for (const Symbol* s : symAll()) {
            if (s->type == SYM_STRVAR) copyOver(s->u.str, moved);
            if (s->vecKind == SYM_STRVEC) {
                auto** items = static_cast<char**>(s->vecData);
                for (int i = 0; i < s->vecSize; ++i) copyOver(items[i], moved);
            }
        }
    } catch (const std::bad_alloc&) {
        // No text has moved yet: the variables keep theirs where they are, and the run ends
        // with the memory error.
        runArena.swap(old);
        throw;
    }
    // Nothing allocates from here on: the variables take their copies and the old texts go.
    for (Symbol* s : symAll()) {
        // A label counts only in its run; afterwards its name is free for any use.
        if (s->type == SYM_LABEL) {
            s->type = SYM_UNDEF;
            s->u.val = 0.0;
        }
        if (s->type == SYM_STRVAR) s->u.str = movedText(s->u.str, moved);
        if (s->vecKind == SYM_STRVEC) {
            auto** items = static_cast<char**>(s->vecData);
            for (int i = 0; i < s->vecSize; ++i) items[i] = movedText(items[i], moved);
        }
    }
    old.release();
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
