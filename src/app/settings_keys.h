#pragma once

// Every section and key of vantor.ini with the default a reader gets when it is missing.
namespace vantor::settings {

struct Key {
    const char* section;
    const char* key;
    const char* defaultValue;
};

// Window and pane (FrmSpecs). Geometry in twips; NormalOp 0 refuses to start.
inline constexpr Key NormalOp{"FrmSpecs", "NormalOp", "1"};
inline constexpr Key Top{"FrmSpecs", "Top", "100"};
inline constexpr Key Height{"FrmSpecs", "Height", "6800"};
inline constexpr Key Width{"FrmSpecs", "Width", "8265"};
inline constexpr Key Left{"FrmSpecs", "Left", "100"};
// Height of the MRU list view; values above 3000 are taken as 3000.
inline constexpr Key LVHght{"FrmSpecs", "LVHght", "1000"};
inline constexpr Key ClrTbl{
    "FrmSpecs", "ClrTbl",
    "\\red0\\green0\\blue0;\\red200\\green0\\blue200;\\red200\\green200\\blue0;\\red220\\green40"
    "\\blue40;"};
// Hexadecimal colour digits; this value leaves the pane's own colour.
inline constexpr Key RTFBackClr{"FrmSpecs", "RTFBackClr", "80000016"};
inline constexpr Key fklCHM{"FrmSpecs", "fklCHM", ""};

// The remembered library and the home library: GUID:major.minor.TypeInfoName.
inline constexpr Key lt_Last{"LastTLB", "lt_Last",
                             "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}:1.0.WSHShell"};
inline constexpr Key lt_Home{"LastTLB", "lt_Home",
                             "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}:1.0.WSHShell"};

// The MRU list: count, then slots mru01, mru02, ... (see mru_slots.h).
inline constexpr const char* MruSection = "TLB_MRU";
inline constexpr Key MruCount{"TLB_MRU", "count", "0"};

inline constexpr Key GroupByTK{"LibDocs", "GroupByTK", ""};
inline constexpr Key TKOrder{"LibDocs", "TKOrder", "6,4,5,3,2,1,7,8,9"};

// ProgID (lower case) or "prefix.*" -> type library GUID.
inline constexpr const char* JoinFixSection = "JoinFix";

inline constexpr const char* MetaHelpSection = "MetaHelp";
inline constexpr Key HelpPath{"MetaHelp", "HelpPath", ""};
inline constexpr Key ScriptLibs{"MetaHelp", "ScriptLibs",
                                "wshom.ocx|ws;wscript.exe|ws;scrrun.dll|js;scrobj.dll|let;"
                                "vbscript.dll|vs;vbscript.dll\\3|vs;vbscript.dll\\2|vs;"
                                "wshext.dll|ws"};
inline constexpr Key ScriptHelp{"MetaHelp", "ScriptHelp", "script56.chm"};
inline constexpr Key slDefaultPage{"MetaHelp", "slDefaultPage",
                                   "wsconwshbasics;wsobjwscript;jsobjFileSystem;letintro;"
                                   "vtorivbscript;js56jsobjregexpression;js56jsobjregexpression;"
                                   "wsconsecuritywindowsscripthost"};
inline constexpr Key slMethodPrefix{"MetaHelp", "slMethodPrefix", ""};

// Libraries "Open Library File..." registered: "{GUID}, version" (as the catalog writes it) ->
// the registry's version key, "|", the registered Windows path.
inline constexpr const char* OpenedFilesSection = "OpenedFiles";

// The machine whose registry Vantor reads, and the machine of the last run.
inline constexpr Key Registry{"Platform", "Registry", ""};
inline constexpr Key LastMachine{"Platform", "LastMachine", ""};
// The browser of the catalog exports (a path or a program name) and its extra arguments.
inline constexpr Key Browser{"Platform", "Browser", ""};
inline constexpr Key BrowserArgs{"Platform", "BrowserArgs", ""};

// Written by the first close that finds no settings file.
inline constexpr const char* FirstJoinFixKey = "tli.*";
inline constexpr const char* FirstJoinFixValue = "{8B217740-717D-11CE-AB5B-D41203C10000}";
inline constexpr const char* FirstGroupByTK = "1";
inline constexpr const char* HomeLibraryGuid = "{60254CA0-953B-11CF-8C96-00AA00B8708C}";
inline constexpr const char* HomeLibraryTypeInfo = "IHost_Class";

} // namespace vantor::settings
