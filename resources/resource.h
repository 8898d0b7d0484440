// Resource ids of the Biped module: its dialogs, their controls and the tool button bitmap.
// Control ids are per dialog; the same number means different controls in different dialogs.
// Only #define lines, so that the resource reader and the compiler both take it as is; the
// definitions of IDOK and IDCANCEL repeat those of windows.h token for token.
#define IDOK 1
#define IDCANCEL 2
#define IDC_STATIC -1

// --- dialogs and bitmap -------------------------------------------------------------------
// "Load BIPED File - Options"
#define IDD_LOAD_OPTIONS 103
// "Save BIPED Animation - Options"
#define IDD_SAVE_OPTIONS 104
// "Choose Hand"
#define IDD_CHOOSE_HAND 105
// tool button image, 24 by 24
#define IDB_BIPED 106
// "Select Biped Bones" (posture set, clear; animation clear)
#define IDD_SELECT_BONES 107
// creation tool panel
#define IDD_CREATE_PANEL 1157
// modify tool panel
#define IDD_MODIFY_PANEL 1158
// skin weight mirroring panel
#define IDD_SKIN_PANEL 1159
// "Select Biped Bones" for the mirror commands
#define IDD_SELECT_MIRROR 1160
// "Select Biped Bones" for paste, with "Bip Position"
#define IDD_SELECT_PASTE 1161

// --- dialog 105 "Choose Hand" -------------------------------------------------------------
#define IDC_HAND_RIGHT 1082
#define IDC_HAND_LEFT 1083

// --- dialog 1157, creation panel ----------------------------------------------------------
#define IDC_CREATE_NUM_SPINES 1000
#define IDC_CREATE_NUM_FINGERS 1001
#define IDC_CREATE_NUM_FINGER_LINKS 1002
#define IDC_CREATE_NUM_TOES 1003
#define IDC_CREATE_NUM_TOE_LINKS 1004
#define IDC_CREATE_HEIGHT 1006
#define IDC_CREATE_LEFT_COLOUR 1111
#define IDC_CREATE_RIGHT_COLOUR 1112
#define IDC_CREATE_BIPED_DEFAULTS 1113
#define IDC_CREATE_QUORVANE_DEFAULTS 1114

// --- bone group boxes of dialogs 103, 107, 1160, 1161 (same ids in all four) --------------
#define IDC_SEL_SPINE 1015
#define IDC_SEL_SPINE1 1033
#define IDC_SEL_SPINE2 1034
#define IDC_SEL_SPINE3 1035
#define IDC_SEL_SPINE4 1036
#define IDC_SEL_NECK 1039
#define IDC_SEL_HEAD 1040
#define IDC_SEL_R_CLAVICLE 1038
#define IDC_SEL_R_UPPERARM 1018
#define IDC_SEL_R_FOREARM 1027
#define IDC_SEL_R_HAND 1028
#define IDC_SEL_R_FINGERS 1029
#define IDC_SEL_L_CLAVICLE 1037
#define IDC_SEL_L_UPPERARM 1019
#define IDC_SEL_L_FOREARM 1024
#define IDC_SEL_L_HAND 1025
#define IDC_SEL_L_FINGERS 1026
#define IDC_SEL_BIP 1042
#define IDC_SEL_PELVIS 1032
#define IDC_SEL_R_THIGH 1016
#define IDC_SEL_R_CALF 1031
#define IDC_SEL_R_FOOT 1020
#define IDC_SEL_R_TOES 1022
#define IDC_SEL_L_THIGH 1017
#define IDC_SEL_L_CALF 1030
#define IDC_SEL_L_FOOT 1021
#define IDC_SEL_L_TOES 1023

// Group buttons: each checks a run of bone groups; its "Clear" partner clears it.
#define IDC_SEL_UPPER 1041
#define IDC_SEL_UPPER_CLEAR 1043
#define IDC_SEL_LOWER 1044
#define IDC_SEL_LOWER_CLEAR 1045
#define IDC_SEL_SPINE_GROUP 1054
#define IDC_SEL_SPINE_GROUP_CLEAR 1055
#define IDC_SEL_R_ARM 1046
#define IDC_SEL_R_ARM_CLEAR 1047
// "Arm" in dialog 1160
#define IDC_SEL_L_ARM 1048
#define IDC_SEL_L_ARM_CLEAR 1049
#define IDC_SEL_R_LEG 1050
#define IDC_SEL_R_LEG_CLEAR 1051
// "Leg" in dialog 1160
#define IDC_SEL_L_LEG 1052
#define IDC_SEL_L_LEG_CLEAR 1053

// --- dialog 1161: root position components a paste writes ---------------------------------
#define IDC_PASTE_POS_X 1118
#define IDC_PASTE_POS_Y 1119
#define IDC_PASTE_POS_Z 1120

// --- dialog 103 "Load BIPED File - Options" -----------------------------------------------
#define IDC_LOAD_FIRST_FRAME 1056
#define IDC_LOAD_LAST_FRAME 1057
#define IDC_LOAD_INVERT 1103
#define IDC_LOAD_INSERT_AT 1058
#define IDC_LOAD_REPEAT 1059
#define IDC_LOAD_SCALE 1132
#define IDC_LOAD_NUM_FRAMES 1060
#define IDC_LOAD_KEYS_CLEAR 1120
#define IDC_LOAD_KEYS_MOVE 1121
#define IDC_LOAD_ALIGN_BIP 1117
#define IDC_LOAD_ALIGN_R_FOOT 1118
#define IDC_LOAD_ALIGN_L_FOOT 1119

// --- dialog 104 "Save BIPED Animation - Options" ------------------------------------------
#define IDC_SAVE_FROM 1066
#define IDC_SAVE_TO 1067
#define IDC_SAVE_ANIM_RANGE 1105
#define IDC_SAVE_KEY_RANGE 1106
#define IDC_SAVE_ALL_FRAMES 1104

// --- dialog 1158, modify panel -------------------------------------------------------------
// Colour
#define IDC_PANEL_LEFT_COLOUR 1114
#define IDC_PANEL_RIGHT_COLOUR 1115
#define IDC_PANEL_BIPED_DEFAULTS 1116
#define IDC_PANEL_QUORVANE_DEFAULTS 1117
// File
#define IDC_PANEL_LOAD 1014
#define IDC_PANEL_SAVE 1015
#define IDC_PANEL_LOAD_BVH 1016
#define IDC_PANEL_SAVE_BVH 1017
// Default Body Poses
#define IDC_PANEL_BODY_SKIN 1061
#define IDC_PANEL_BODY_IDLE 1062
// Default Hand Poses (k = 0..11 in the order Skin .. Pistol)
#define IDC_PANEL_HAND_SKIN 1076
#define IDC_PANEL_HAND_IDLE 1075
#define IDC_PANEL_HAND_RELAXED 1064
#define IDC_PANEL_HAND_FIST 1063
#define IDC_PANEL_HAND_PICK 1066
#define IDC_PANEL_HAND_POINT 1067
#define IDC_PANEL_HAND_PUSH 1069
#define IDC_PANEL_HAND_REACH 1070
#define IDC_PANEL_HAND_SCRATCH 1071
#define IDC_PANEL_HAND_SPREAD 1072
#define IDC_PANEL_HAND_GRIP 1077
#define IDC_PANEL_HAND_PISTOL 1078
#define IDC_PANEL_HAND_LOAD 1073
#define IDC_PANEL_HAND_SAVE 1074
// Animation
#define IDC_PANEL_ANIM_MIRROR 1107
#define IDC_PANEL_ANIM_CLEAR 1108
#define IDC_PANEL_ANIM_TRANSFORM 1133
// Posture
#define IDC_PANEL_COPY 1065
#define IDC_PANEL_PASTE 1068
#define IDC_PANEL_PASTE_MIRRORED 1097
#define IDC_PANEL_SET 1092
#define IDC_PANEL_POSTURE_CLEAR 1098
#define IDC_PANEL_POSTURE_MIRROR 1096
#define IDC_PANEL_SYM_ROTATION 1118
#define IDC_PANEL_OPP_ROTATION 1119
// Anchor
#define IDC_PANEL_ANCHOR_R_FOOT 1110
#define IDC_PANEL_ANCHOR_L_FOOT 1111
#define IDC_PANEL_ANCHOR_R_HAND 1112
#define IDC_PANEL_ANCHOR_L_HAND 1113
// Align
#define IDC_PANEL_ALIGN_BONE 1121
#define IDC_PANEL_ALIGN_FRAME 1122
#define IDC_PANEL_ALIGN 1123
#define IDC_PANEL_ALIGN_POS_X 1124
#define IDC_PANEL_ALIGN_POS_Y 1125
#define IDC_PANEL_ALIGN_POS_Z 1126
#define IDC_PANEL_ALIGN_ROT_X 1127
#define IDC_PANEL_ALIGN_ROT_Y 1128
#define IDC_PANEL_ALIGN_ROT_Z 1129
// Limbs
#define IDC_PANEL_ALL_ARM 1079
#define IDC_PANEL_ALL_LEG 1080
#define IDC_PANEL_LIMB_CLAVICLE 1081
#define IDC_PANEL_LIMB_UPPERARM 1082
#define IDC_PANEL_LIMB_FOREARM 1083
#define IDC_PANEL_LIMB_HAND 1084
#define IDC_PANEL_LIMB_FINGERS 1085
#define IDC_PANEL_LIMB_THIGH 1086
#define IDC_PANEL_LIMB_CALF 1087
#define IDC_PANEL_LIMB_FOOT 1088
#define IDC_PANEL_LIMB_TOES 1089
#define IDC_PANEL_SYM_POS 1093
#define IDC_PANEL_SYM_ROT 1094
#define IDC_PANEL_SYM_SCALE 1095
#define IDC_PANEL_SYM_LEFT 1091
#define IDC_PANEL_SYM_RIGHT 1090
#define IDC_PANEL_OPP_X 1101
#define IDC_PANEL_OPP_Y 1102
#define IDC_PANEL_OPP_Z 1103
#define IDC_PANEL_OPP_LEFT 1099
#define IDC_PANEL_OPP_RIGHT 1100
// Walk - Run
#define IDC_PANEL_GENERATE 1060
#define IDC_PANEL_WALK 1010
#define IDC_PANEL_RUN 1011
#define IDC_PANEL_NUM_LOOPS 1005
#define IDC_PANEL_START_LEFT 1007
#define IDC_PANEL_START_RIGHT 1006
#define IDC_PANEL_IN_PLACE 1008
#define IDC_PANEL_LOOP 1009

// --- dialog 1159, skin weight mirroring panel ---------------------------------------------
#define IDC_SKIN_PICK 1103
#define IDC_SKIN_ROOT_NAME 1099
#define IDC_SKIN_DEST_LEFT 1096
#define IDC_SKIN_DEST_RIGHT 1097
#define IDC_SKIN_TOLERANCE 1000
#define IDC_SKIN_SELECT_UNMATCHED 1100
#define IDC_SKIN_SELECT_MATCHED 1101
#define IDC_SKIN_DETAILS 1102
