#pragma once
#include <guiddef.h>

// The test server's component category (its own, so that the test never
// meets the classes of other servers registered in the same prefix).
// {CEA186DC-F49E-4616-9E68-7686ECA02BF6}
inline constexpr GUID kCatidOrbTest = {
    0xCEA186DC, 0xF49E, 0x4616, {0x9E, 0x68, 0x76, 0x86, 0xEC, 0xA0, 0x2B, 0xF6}};
inline constexpr wchar_t kOrbTestCategoryName[] = L"Orbisect3 test components";
inline constexpr wchar_t kOrbTestProgId[] = L"OrbTestCom.OrbTestThing.1";
inline constexpr wchar_t kOrbTestViProgId[] = L"OrbTestCom.OrbTestThing";
inline constexpr wchar_t kOrbTestDescription[] = L"OrbTestThing Class";
