// Resource and command ids of the frame tests (read by the resource compiler
// and by C++).
#pragma once

#define IDR_TESTFRAME 100
#define IDR_PLAINFRAME 101

#define ID_TEST_VIEW 40001
#define ID_TEST_DOC 40002
#define ID_TEST_FRAME 40003
#define ID_TEST_APP 40004
#define ID_TEST_NONE 40005
#define ID_TEST_DISABLED 40006
#define ID_TEST_CHECKED 40007
#define ID_TEST_ALL 40008
#define ID_TEST_DOC_APP 40009
#define ID_TEST_FRAME_APP 40010
#define ID_TEST_SUB_FIRST 40011
#define ID_INDICATOR_TEST 40020

#define IDW_TEST_BAR 0xE810
