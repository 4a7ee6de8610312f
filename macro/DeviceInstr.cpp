// Files, tones and Morse, and the console, serial-port and serial-mouse statements that older macro
// programs use.
//
// A file handle is a number from 1,025 up that stands for one stream in the table below; a number
// that names no open stream is a run-time error, never a guess at a stream. Numbers below 1,025 are
// the low-level descriptors of serial devices, which reach MacroDevices only.
#include "macro/BuiltinSupport.h"
#include "macro/Builtins.h"
#include "macro/Host.h"
#include "macro/Init.h"
#include "macro/Lifetime.h"
#include "macro/RunControl.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/win/Sound.h"

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace builtin;

const char* macroSpeakerDevice = "/dev/spkr";

bool MacroDevices::ReadByte(int, unsigned char&) { return false; }
void MacroDevices::Write(int, const char*, size_t) {}

namespace {

constexpr double kFirstHandle = 1025;
constexpr int kMouseDescriptors = 99;  // the mouse statements read descriptors up to this one

MacroDevices unconnected;
MacroDevices* devices = &unconnected;

// --- files -----------------------------------------------------------------------------------------

// The files of this run (the run closes them when it ends).
struct OpenFile {
    std::FILE* stream;
};
std::map<long long, OpenFile> files;
long long nextHandle = static_cast<long long>(kFirstHandle);

// The stream of a handle from 1,025 up; failure names the statement when there is none.
std::map<long long, OpenFile>::iterator findFile(double handle, const char* failure)
{
    double t = std::trunc(handle);
    auto it = t < 9.2e18 ? files.find(static_cast<long long>(t)) : files.end();
    if (it == files.end()) {
        char text[64];
        std::snprintf(text, sizeof text, "%.15g", handle);
        macroError(failure, text);
    }
    return it;
}

// A line is kept at hand while it is looked over up to this length; a longer one is read again.
constexpr size_t kLineAtHand = 64 * 1024;

// The open flags of a C library mode ("r", "w", "a", each with "+", "b", "t", "x" or "e" after
// it); false for a mode the C library refuses too.
bool modeFlags(const char* mode, int& flags)
{
    switch (mode[0]) {
    case 'r': flags = O_RDONLY; break;
    case 'w': flags = O_WRONLY | O_CREAT | O_TRUNC; break;
    case 'a': flags = O_WRONLY | O_CREAT | O_APPEND; break;
    default: return false;
    }
    for (const char* m = mode + 1; *m && *m != ','; ++m) {
        if (*m == '+') flags = (flags & ~O_ACCMODE) | O_RDWR;
        if (*m == 'x') flags |= O_EXCL;
    }
    return true;
}

// A stream on the regular file name, opened (or created) the way fopen(name, mode) would, or null.
// The open itself never waits: a pipe would wait for its other end and a device may never answer,
// so they are opened without waiting, found out by what was opened (not by a look at the name
// beforehand, which a rename could outdate), and refused like a file that cannot be opened.
// A mode that writes keeps the rule of every write of the program (SafeWrite.h): a link along the
// name or a file that another user planted is refused, and refusal says why; and it opens what was
// checked, never a link or a file put there since.
std::FILE* openRegularFile(const char* name, const char* mode, std::string& refusal)
{
    int flags = 0;
    if (!modeFlags(mode, flags)) return nullptr;
    int fd = -1;
    if ((flags & O_ACCMODE) != O_RDONLY) {
        const WriteTarget checked = CheckWriteTarget(name);
        // A look first spares devices even the opening.
        if (checked.check && checked.exists && !S_ISREG(checked.mode)) return nullptr;
        const WriteOpen opened = OpenWriteTarget(checked, flags);
        if (opened.fd < 0) {
            if (opened.refused) refusal = UnicodeToWin1252(opened.reason);
            return nullptr;
        }
        fd = opened.fd;
    } else {
        struct stat info;
        if (::stat(name, &info) == 0 && !S_ISREG(info.st_mode)) return nullptr;
        fd = ::open(name, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return nullptr;
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            return nullptr;
        }
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* stream = ::fdopen(fd, mode);
    if (!stream) ::close(fd);
    return stream;
}

// --- Morse -----------------------------------------------------------------------------------------

// Patterns for the codes 32 to 95; empty: no pattern. The space is a gap only.
const char* const kMorse[64] = {
    " ",      nullptr,  ".-..-.", nullptr,  nullptr, nullptr, nullptr, nullptr,  // space ! " # $ % & '
    nullptr,  nullptr,  nullptr,  nullptr,  "--..--", "-....-", ".-.-.-", "-..-.",  // ( ) * + , - . /
    "-----",  ".----",  "..---",  "...--",  "....-", ".....", "-....", "--...",   // 0-7
    "---..",  "----.",  "---...", "-.-.-.", nullptr, nullptr, nullptr, "..--..",  // 8 9 : ; < = > ?
    nullptr,  ".-",     "-...",   "-.-.",   "-..",   ".",     "..-.",  "--.",     // @ A-G
    "....",   "..",     ".---",   "-.-",    ".-..",  "--",    "-.",    "---",     // H-O
    ".--.",   "--.-",   ".-.",    "...",    "-",     "..-",   "...-",  ".--",     // P-W
    "-..-",   "-.--",   "--..",   ".-.-.",  nullptr, ".-...", "...-.-", "-...-",  // X Y Z [ \ ] ^ _
};

const char kDot[] = "730,9,38,9,";
const char kDash[] = "730,27,38,9,";

// The tones of one character, written to the speaker as one text with its NUL.
std::string morseTones(const char* pattern, int gapFactor)
{
    char gap[64];
    std::snprintf(gap, sizeof gap, "38 ,%d,", 27 * gapFactor);
    std::string tones;
    for (const char* p = pattern; *p; ++p)
        tones += *p == '.' ? kDot : *p == '-' ? kDash : gap;
    tones += gap;
    return tones;
}

void writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n <= 0) return;
        data += n;
        size -= static_cast<size_t>(n);
    }
}

// --- the serial mouse ------------------------------------------------------------------------------

struct MouseState {
    int x = 0, y = 0;
    int maxX = 0, maxY = 0;
    int scale = 1;
    bool left = false, right = false;
} mouseState;

int clampInt(long long v, long long lo, long long hi) { return int(v < lo ? lo : v > hi ? hi : v); }

// A byte the device delivers, asking a few times; false when it delivers none.
bool nextByte(int fd, unsigned char& byte)
{
    for (int attempt = 0; attempt < 100; ++attempt)
        if (devices->ReadByte(fd, byte)) return true;
    return false;
}

// One three-byte packet, when the device has one ready: buttons and movement.
void readMousePacket(int fd)
{
    unsigned char first, b2, b3;
    if (!devices->ReadByte(fd, first) || !(first & 0x40)) return;
    if (!nextByte(fd, b2) || !nextByte(fd, b3)) return;
    mouseState.left = first & 0x20;
    mouseState.right = first & 0x10;
    int dx = static_cast<signed char>(((first & 0x03) << 6) | b2);
    int dy = static_cast<signed char>(((first & 0x0C) << 4) | b3);
    mouseState.x = clampInt(static_cast<long long>(mouseState.x) + dx, 0, mouseState.maxX);
    mouseState.y = clampInt(static_cast<long long>(mouseState.y) + dy, 0, mouseState.maxY);
}

// Pops the descriptor; true (after reading a packet) when it is one the mouse statements read.
bool mouseDescriptor(double& h)
{
    h = popNum();
    if (!(h <= kMouseDescriptors)) return false;
    readMousePacket(truncInt(h));
    return true;
}

// A statement that opens files or devices, in a run that may not reach outside the pad: the run
// ends here, and the box says which statement and what runs it.
void requireReachOutside(const char* statement)
{
    if (!Host().MayReachOutside())
        macroError(statement, "reaches outside the pad and is not run when a pad is opened: Calculate runs it");
}

void popArgs(int n)
{
    while (n-- > 0) stackPop();
}

}  // namespace

void SetMacroDevices(MacroDevices* d) { devices = d ? d : &unconnected; }

void macroCloseFiles()
{
    for (auto& entry : files) std::fclose(entry.second.stream);
    files.clear();
}

// open(name, mode)
void procopen()
{
    const char* mode = popText();
    const char* name = popText();
    requireReachOutside("open");
    std::string refusal;
    std::FILE* stream = openRegularFile(name, mode, refusal);
    if (!stream) macroError("procopen cannot open: ", refusal.empty() ? name : (TextHead(name) + "\n" + refusal).c_str());
    long long handle = nextHandle++;
    files[handle] = OpenFile{stream};
    pushNum(double(handle));
}

// readline(h, n): the next line of at most n - 1 bytes, without its line end; EOF$ at the end.
// No more is read than was asked for, and no more held than a text may keep: the line is looked
// over first, keeping only a short one at hand, and a long one is read into its text once it is
// known to fit. A line longer than the text budget is refused as soon as the budget is passed,
// without having been held.
void readstr()
{
    int max = truncInt(popNum());
    double h = popNum();
    if (h < kFirstHandle) macroError("readline: readstr read error", nullptr);
    std::FILE* stream = findFile(h, "readline: file not open")->second.stream;
    if (max < 2) max = 2;
    const off_t start = ::ftello(stream);
    // The text ends at its first NUL byte, as it always has; the bytes after one are read and
    // dropped. The text counts its line end here (and a Windows one its carriage return).
    std::string atHand;
    size_t textBytes = 0;
    bool cut = false, lineEnd = false;
    long long taken = 0;
    for (int c; taken < max - 1 && (c = getc_unlocked(stream)) != EOF;) {
        ++taken;
        if (c == '\0') cut = true;
        if (!cut) {
            if (macroTextCost(++textBytes) > kTextBudget + 1) macroError("readstr: malloc error", nullptr);
            if (textBytes <= kLineAtHand) atHand += static_cast<char>(c);
        }
        if (c == '\n') {
            lineEnd = !cut;
            break;
        }
    }
    if (textBytes == 0) {  // the end of the file, or a read that holds no text
        pushNewText(macroEofText, 1, "readstr: malloc error", nullptr);
        return;
    }
    const size_t len = lineEnd ? textBytes - 1 : textBytes;
    if (textBytes <= kLineAtHand) {
        const bool cr = len > 0 && lineEnd && atHand[len - 1] == '\r';  // a line written on Windows
        pushNewText(atHand.data(), cr ? len - 1 : len, "readstr: malloc error", nullptr);
        return;
    }
    char* text = macroNewText(len + 1);
    if (!text) macroError("readstr: malloc error", nullptr);
    // Read again, into the text itself, from where the line began.
    size_t got = 0;
    if (start >= 0 && ::fseeko(stream, start, SEEK_SET) == 0) got = std::fread(text, 1, len, stream);
    if (start < 0 || ::fseeko(stream, start + taken, SEEK_SET) != 0) macroError("readline: readstr read error", nullptr);
    if (got > 0 && lineEnd && text[got - 1] == '\r') --got;
    text[got] = '\0';
    pushStr(text);
}

// write(h, s): the bytes of s, no line end
void procwrite()
{
    const char* text = popText();
    double h = popNum();
    size_t len = std::strlen(text);
    if (h < kFirstHandle) {
        devices->Write(truncInt(h), text, len);
        return;
    }
    std::FILE* stream = findFile(h, "write: file not open")->second.stream;
    std::fwrite(text, 1, len, stream);
    // Written through at once, so what a calculation wrote is in the file when it ends.
    std::fflush(stream);
}

// close(h)
void closecode()
{
    double h = popNum();
    if (h < kFirstHandle) return;
    auto it = findFile(h, "close: file not open");
    std::fclose(it->second.stream);
    files.erase(it);
}

// play(f, d), beep(f, d)
void play()
{
    int duration = truncInt(popNum());
    int frequency = truncInt(popNum());
    macroStoppableWait([=](const WaitStop& stop) { Beep(frequency, duration, stop); });
}

// morse(s): the text's Morse tones on the speaker device; "#<n>" stretches the gaps n times
void morse()
{
    const char* text = popText();
    requireReachOutside("morse");
    int fd = ::open(macroSpeakerDevice, O_RDWR | O_CLOEXEC);
    if (fd < 0) macroError("cannot open: ", macroSpeakerDevice);
    int gapFactor = 1;
    for (const char* p = text; *p && *p != '!'; ++p) {
        if (*p == '#') {
            long long factor = 0;
            while (p[1] >= '0' && p[1] <= '9') {
                if (factor < 100000) factor = factor * 10 + (p[1] - '0');
                ++p;
            }
            gapFactor = static_cast<int>(factor);
            continue;
        }
        int code = static_cast<unsigned char>(asciiUpper(*p));
        if (code < 32 || code > 95 || !kMorse[code - 32]) continue;
        std::string tones = morseTones(kMorse[code - 32], gapFactor);
        writeAll(fd, tones.c_str(), tones.size() + 1);
    }
    ::close(fd);
}

void comon() { popArgs(1); }
void comoff() { popArgs(1); }
void vgacolor() { popArgs(1); }
void clearscreen() { popArgs(3); }
void drawline() { popArgs(5); }

void comlines() { pushNum(popNum()); }
void combytes() { pushNum(popNum()); }

// mouse(h, maxX, maxY, scale)
void mouse()
{
    int scale = truncInt(popNum());
    double maxY = popNum();
    double maxX = popNum();
    popNum();
    mouseState.scale = scale < 1 ? 1 : scale > 100 ? 100 : scale;
    mouseState.maxX = clampInt(static_cast<long long>(truncInt(maxX)) * mouseState.scale, 0, 2147483647);
    mouseState.maxY = clampInt(static_cast<long long>(truncInt(maxY)) * mouseState.scale, 0, 2147483647);
}

void mousex()
{
    double h;
    pushNum(mouseDescriptor(h) ? double(mouseState.x / mouseState.scale) : h);
}

void mousey()
{
    double h;
    pushNum(mouseDescriptor(h) ? double(mouseState.y / mouseState.scale) : h);
}

void mouselb()
{
    double h;
    pushNum(mouseDescriptor(h) && mouseState.left ? 1.0 : 0.0);
}

void mouserb()
{
    double h;
    pushNum(mouseDescriptor(h) && mouseState.right ? 1.0 : 0.0);
}

// There is no console keyboard: no key is ever waiting.
void getkey()
{
    popNum();
    pushNum(0.0);
}

void extgetkey()
{
    popNum();
    pushNum(0.0);
}

// vgamouse(a, b, c): no screen mouse either; as an expression it yields 0.
void vgamouse()
{
    popArgs(3);
    pushNum(0.0);
}
