// The resource module of the dialog tests has no code of its own; this
// translation unit only gives the linker something to build the DLL from.
extern "C" int OrbDlgResModuleVersion() { return 1; }
