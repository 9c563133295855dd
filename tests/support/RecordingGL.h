#pragma once

// A GL and GLUT for unit tests: every entry point the program uses is
// implemented here with its real signature and only records the call with its
// arguments. Display lists are emulated: calls made between glNewList and
// glEndList are stored in the list, and glCallList replays them into the log.

#include <string>
#include <vector>

namespace gl_record {

struct Call {
    std::string name;
    std::vector<double> args;
    const void* pointer = nullptr;  // callback or data pointer, where the call takes one
    unsigned compiling = 0;          // list being compiled when the call was issued, 0 if none
    int replayDepth = 0;             // 0: issued by the code; n: replayed by n nested glCallList
    bool IsEffective() const { return compiling == 0; }
};

// Forgets every call, every list and every error.
void Reset();

// Every call in the order it was issued or replayed.
const std::vector<Call>& Calls();

// Only the calls that take effect: those issued outside list compilation and
// the replayed contents of called lists.
std::vector<Call> Effective();

// The effective calls with the given name.
std::vector<Call> EffectiveNamed(const std::string& name);

// The stored contents of a display list (empty when there is no such list).
std::vector<Call> ListContents(unsigned list);

// Misuses a real GL would flag: glBegin inside glBegin, glEnd without glBegin,
// nested glNewList, glEndList without glNewList, a pop of an empty stack.
int Errors();

// How many glBegin/glEnd pairs are open, and how many lists exist.
int OpenPrimitives();
int ListCount();

// GLUT callbacks as last registered (null when none).
struct Callbacks {
    void (*display)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*idle)() = nullptr;
    void (*visibility)(int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
};
const Callbacks& RegisteredCallbacks();

}  // namespace gl_record
