/* Resource identifiers of the Quarn plug-in (C and .rc). */
#ifndef QUARN_RESOURCE_H
#define QUARN_RESOURCE_H

/* Templates. */
#define IDD_QUARN_LNB_DISQ 201
#define IDD_QUARN_INFO 202
#define IDD_QUARN_TUNING 203
#define IDD_QUARN_AV 205
#define IDD_QUARN_TS 206
#define IDD_QUARN_SI 207

/* The streaming pages. */
#define IDC_QS_START 230
#define IDC_QS_PIN_LABEL 272
#define IDC_QS_PIN 273
#define IDC_QS_FILE 274
#define IDC_QS_BROWSE 275
#define IDC_QS_PIDS 276
#define IDC_QS_PIDS_LABEL 277
#define IDC_QS_PID_LABEL 279
#define IDC_QS_PID 280
#define IDC_QS_ADD 281
#define IDC_QS_REMOVE 282
#define IDC_QS_REMOVE_ALL 283
#define IDC_QS_VIDEO_PID 224
#define IDC_QS_AUDIO_PID 225
#define IDC_QS_VIDEO_FILE 226
#define IDC_QS_VIDEO_BROWSE 227
#define IDC_QS_AUDIO_FILE 228
#define IDC_QS_AUDIO_BROWSE 229

#endif
