#pragma once
// The Help menu's manuals: PDF files in the folder "Manuals" beside the program, opened in the
// PDF viewer the settings name, or else in the one the desktop associates with PDF files, started
// with the whole of the desktop's command for it. The viewer runs as a process of its own; the
// program does not wait for it.
#include "platform/vcl/Strings.h"

// The manuals as the Help menu names them.
inline constexpr const char* kMetricBasicManual = "Tutorial_Manual_Metric_Basic.pdf";
inline constexpr const char* kImperialBasicManual = "Tutorial_Manual_Imperial_Basic.pdf";
inline constexpr const char* kGeneralManual = "Tutorial_Manual_General.pdf";
inline constexpr const char* kReferenceManual = "Reference_Manual.pdf";

// The boxes the user sees when a manual cannot be shown.
inline constexpr const char* kPathInvalidMessage = "Failed to start - the file path name is too long or invalid";
inline constexpr const char* kNoViewerMessage = "Failed to start process - a PDF viewer needs to be installed";

// Opens the manual with this file name, in the user's language when that variant exists.
void OpenManual(const AnsiString& name);
void OpenReferenceManual();

// The program that opens files with this extension (".pdf"): the viewer the settings name for
// PDF, CSV or XLS files, used as it stands, else the program of the desktop's open command for
// the extension. Empty when there is none or its path is not usable (the user is told).
UnicodeString FindAssociatedProgram(const AnsiString& extension);

// The part of an open command that names its program: quotation marks taken off a quoted path,
// and whatever follows a closing quote dropped. Empty when a quote stands inside the path, with
// more of it after the quote.
UnicodeString StripCommandQuotes(UnicodeString command);

// The folder the manuals lie in: the program's folder followed by "Manuals".
UnicodeString ManualsFolder();
// Tests move the program's folder; an empty folder restores the executable's.
void SetProgramFolderForManuals(const UnicodeString& folder);
