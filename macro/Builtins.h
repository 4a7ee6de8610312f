#pragma once
// Handlers of the built-in instructions: strings, vectors and conversions, the estimate built-ins,
// and the device and file statements. Each takes its arguments from the value stack (the last
// argument on top) and pushes its result, if it has one. The instruction table names them.
#include <cstddef>

// --- strings (StringInstr.cpp) ----------------------------------------------------------------
void strlength();
void addstr();
void searchstring();
void searchstringIC();
void instring();
void trimstring();
void leftstring();
void rightstring();
void midstring();
void lowercase();
void uppercase();
void isproductcode();
void isexcludedproductcode();

// --- vectors, conversions and the rest (VectorInstr.cpp) ---------------------------------------
void decvec();
void decstrvec();
void vecassign();
void vecadd();
void vecsub();
void vecmul();
void vecdiv();
void strvecassign();
void asc();
void chr();
void str();
void val();
void roundqty();
void timestr();
void sleepfor();
void getargcode();
void sortcode();

// --- estimate built-ins (EstimateInstr.cpp) ----------------------------------------------------
void setqty();
void setexcludedqty();
void setmiscmaterialqty();
void setexcludedmiscmaterialqty();
void setmiscellaneousqty();
void setexcludedmiscellaneousqty();
void setnoteon();
void setnoteoff();
void setnotestr();
void printstr();
void setzrstr();
void setzrqty();
void settreatment();
void isnoteon();
void eavelengthabove();
void roofareaabove();
void getproduct_code();
void getproductqty();
void getproductsubqty();
void getlocalityqty();
void getproductlinesubqty();
void getproductinputqty();
void getproductlineqty();
void getexcludedproductlineqty();
void getvariablefromfileqty();
void searchdirfilecount();
void isfileexist();
void isview();
void getzrqty();
void getedgenameqty();
void getedgeqty();
void getroofqty();
void getwallqty();
void getnotesfromfile();
void setnotenameprefix();
void getproductstr();
void getproductsubstr();
void getlocalitystr();
void getproductlinesubstr();
void getpricestr();
void getpricenoseparatorstr();
void replaceseparatorstr();
void getproductinputstr();
void getproductlinestr();
void getexcludedproductlinestr();
void getvariablefromfilestr();
void getlinefromfilestr();
void searchdirfilename();
void getedgenamestr();
void getedgestr();
void getroofstr();
void getwallstr();
void getzrstr();
void getlengthstr();
void getareastr();
void getqtystr();

// --- devices and files (DeviceInstr.cpp) -------------------------------------------------------
void procopen();
void readstr();
void procwrite();
void closecode();
void play();
void morse();
void comon();
void comoff();
void comlines();
void combytes();
void vgacolor();
void clearscreen();
void drawline();
void mouse();
void mousex();
void mousey();
void mouselb();
void mouserb();
void getkey();
void extgetkey();
void vgamouse();

// --- devices and files around the handlers ----------------------------------------------------

// Low-level descriptors (handles below 1,025: serial ports and the serial mouse of older macro
// programs). Nothing of the kind is connected here: reads deliver nothing and writes go nowhere,
// so that a macro can never reach the program's own descriptors. Tests install their own.
class MacroDevices {
public:
    virtual ~MacroDevices() = default;
    // One byte from the descriptor; false when none is available.
    virtual bool ReadByte(int fd, unsigned char& byte);
    virtual void Write(int fd, const char* data, size_t size);
};
// Installs the devices; null puts the unconnected default back. The caller keeps ownership.
void SetMacroDevices(MacroDevices* devices);

// The speaker device that morse writes its tones to.
extern const char* macroSpeakerDevice;

// Closes every file that open left open: the end of every run (Lifetime.h).
void macroCloseFiles();
