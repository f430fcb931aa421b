#pragma once
// Resource ids of the framework's test programs.
#define IDS_TEST_GREETING 1001
#define IDS_TEST_PLAIN 1002
#define IDS_TEST_MISSING 1099
#define IDS_TEST_PROMPT 1003
#define IDR_TEST_MENU 2001
#define ID_TEST_OPEN 2101
#define ID_TEST_CLOSE 2102
