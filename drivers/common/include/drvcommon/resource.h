/* Resource identifiers shared by the vendor-library plug-ins (C and .rc). */
#ifndef DRVCOMMON_RESOURCE_H
#define DRVCOMMON_RESOURCE_H

#define IDS_MOTOR_PROMPT 101 /* the motor prompt of satellite tuning without a switch */
#define IDC_DEVICE_LIST 214  /* drop-down list of the "Select device" dialog */

#endif
