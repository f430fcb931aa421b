#pragma once
// Classes of the test plug-in server orbfakedrv.dll, all registered under the
// drivers category.
#include <windows.h>

// Works; named "Fake card".
constexpr CLSID kClsidFakeCard = {0x6c1f3a10, 0x2b7e, 0x4d61, {0x9a, 0x01, 0x5e, 0x11, 0x20, 0x3c, 0x4d, 0x01}};
// Works; the same name as kClsidFakeCard.
constexpr CLSID kClsidFakeTwin = {0x6c1f3a10, 0x2b7e, 0x4d61, {0x9a, 0x01, 0x5e, 0x11, 0x20, 0x3c, 0x4d, 0x02}};
// Cannot be created (its class object answers E_OUTOFMEMORY).
constexpr CLSID kClsidFakeBroken = {0x6c1f3a10, 0x2b7e, 0x4d61, {0x9a, 0x01, 0x5e, 0x11, 0x20, 0x3c, 0x4d, 0x03}};
// Created and named, but its Init fails.
constexpr CLSID kClsidFakeNoDevice = {0x6c1f3a10, 0x2b7e, 0x4d61, {0x9a, 0x01, 0x5e, 0x11, 0x20, 0x3c, 0x4d, 0x04}};

constexpr const wchar_t* kFakeCardName = L"Fake card";
constexpr const wchar_t* kFakeNoDeviceName = L"Fake card without device";

// What the fake drivers record, below HKEY_LOCAL_MACHINE <registryRoot>\FakeDriver:
// "root", "allusers", "user" (REG_SZ, the Init arguments), "inits" and
// "saves" (REG_DWORD counts), "satlist" (1 when SetSatListMgr got a manager).
constexpr const wchar_t* kFakeRecordKey = L"SOFTWARE\\Team Orbisect\\Orbisect3\\drivers\\FakeDriver";
