// Resource ids of the tree pane's context menus (plain #defines: read by the
// resource compiler and by C++).
#pragma once

// Menus, each with one popup.
#define IDR_TREE_CABLE_MENU 139        // cable delivery system descriptor
#define IDR_TREE_TERRESTRIAL_MENU 140  // terrestrial delivery system descriptor
#define IDR_TREE_PROGRAM_MENU 144      // PMT program
#define IDR_TREE_TRANSPONDER_MENU 145  // transport stream
#define IDR_TREE_SATELLITE_MENU 148    // satellite delivery system descriptor

// Set tuner... from a delivery system descriptor.
#define ID_TREE_SET_TUNER_SATELLITE 32801
#define ID_TREE_SET_TUNER_CABLE 32785
#define ID_TREE_SET_TUNER_TERRESTRIAL 32786

// Streaming entries of the transport stream and program menus.  They have
// ids of their own (the main menu's commands use 32781-32784); nothing
// handles them, so they are shown disabled.
#define ID_TREE_EMM_STREAMING 33100
#define ID_TREE_ECM_STREAMING 33101
#define ID_TREE_EMM_ECM_STREAMING 33102
#define ID_TREE_PROGRAM_ECM_STREAMING 33103
#define ID_TREE_VIDEO_STREAMING 33104
#define ID_TREE_AUDIO_STREAMING 33105
#define ID_TREE_PRIVATE_SECTION_STREAMING 33106

// Message box text when the driver refuses a tuning.
#define IDS_TREE_SET_TUNER_FAILED 61297
