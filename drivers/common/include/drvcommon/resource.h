/* Resource identifiers shared by the vendor-library plug-ins (C and .rc).
   The dialog templates' own ids differ by plug-in: each plug-in's .rc defines
   them (IDD_...) before it includes common/res/driver_common.rc, and its
   family record (DriverFamily) names the same numbers. */
#ifndef DRVCOMMON_RESOURCE_H
#define DRVCOMMON_RESOURCE_H

#define IDS_MOTOR_PROMPT 101 /* the motor prompt of satellite tuning without a switch */
#define IDC_DEVICE_LIST 214  /* drop-down list of the "Select device" dialog */

/* "LNB/Disq" page */
#define IDC_DISQ_NONE 1001
#define IDC_DISQ_SIMPLE 1002
#define IDC_DISQ_V10 1003
#define IDC_DISQ_SLOT 1004 /* also the "Disq" list of the tuning dialog */
#define IDC_DISQ_SLOT_LABEL 213
#define IDC_LOF1 1005
#define IDC_SWITCH 1006
#define IDC_LOF2 1007
#define IDC_LNB_POWER 1008
#define IDC_SLOT_SATELLITE 1009
#define IDC_MOTORIZED 1010

/* "Info" page */
#define IDC_INFO_TEXT 218

/* "Tuning" dialog */
#define IDC_TUNE_FREQUENCY 201
#define IDC_TUNE_SYMBOLRATE 202
#define IDC_TUNE_POL_H 203
#define IDC_TUNE_POL_V 204
#define IDC_TUNE_QAM 205
#define IDC_TUNE_BW7 206
#define IDC_TUNE_BW8 207
#define IDC_TUNE_INVERSION 208
#define IDC_TUNE_APPLY 209
#define IDC_TUNE_SATELLITE 211
#define IDC_TUNE_TRANSPONDER 212
#define IDC_TUNE_QAM_LABEL 215
#define IDC_TUNE_POL_LABEL 216
#define IDC_TUNE_BW_LABEL 217
#define IDC_TUNE_LEVEL 1078
#define IDC_TUNE_QUALITY 1079
#define IDC_TUNE_SYNC 1082

/* Streaming pages */
#define IDC_STREAM_LIST 219
#define IDC_STREAM_PID 220
#define IDC_STREAM_FILE 221
#define IDC_STREAM_BROWSE 222
#define IDC_STREAM_ADD 223
#define IDC_STREAM_BUFFER 224
#define IDC_STREAM_STOP 228
#define IDC_SI_FILE 1003
#define IDC_SI_TABLE_ID 1090
#define IDC_SI_TABLE_MASK 1091
#define IDC_SI_PRIVATE 1094
#define IDC_SI_SYNTAX 1095
#define IDC_SI_EXTENSION 1096
#define IDC_SI_VERSION 1097
#define IDC_SI_CURNEXT 1098
#define IDC_SI_SECTION 1099
#define IDC_SI_LASTSECTION 1100
#define IDC_SI_DATA 1101
#define IDC_SI_SYNTAX_VALUE 1102
#define IDC_SI_PRIVATE_VALUE 1103
#define IDC_SI_EXTENSION_VALUE 1104
#define IDC_SI_VERSION_VALUE 1105
#define IDC_SI_CURNEXT_VALUE 1106
#define IDC_SI_SECTION_VALUE 1107
#define IDC_SI_LASTSECTION_VALUE 1108
#define IDC_SI_DATA_VALUE 1110
#define IDC_SI_DATA_MASK 1114
#define IDC_AV_AUDIO 230
#define IDC_AV_VIDEO 231
#define IDC_AV_PCR 232
#define IDC_AV_SET_AUDIO 233
#define IDC_AV_SET_VIDEO 234
#define IDC_AV_SET_ALL 235
#define IDC_AV_FORMAT_MP2 236
#define IDC_AV_FORMAT_PSV 237
#define IDC_AV_FORMAT_PVA 238
#define IDC_AV_FORMAT_MPG 239
#define IDC_AV_RECORD 242
#define IDC_TS_LOST 203
#define IDC_TS_STARTSTOP 204

#endif
