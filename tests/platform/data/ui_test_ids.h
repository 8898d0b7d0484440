// Ids of the test resource script's dialogs and controls.
#define IDD_OPTIONS 200
#define IDC_SPINE 201
#define IDC_HEAD 202
#define IDC_MANUAL 203

#define IDD_PANEL 300
#define IDC_POSTURE_MIRROR 301
#define IDC_ANIM_MIRROR 302
#define IDC_LOOPS 303
#define IDC_HEIGHT 304
#define IDC_TARGET 305
#define IDC_WALK 306
#define IDC_RUN 307
#define IDC_LEFT 308
#define IDC_RIGHT 309
#define IDC_LOCKED 310
#define IDC_SWATCH 311
#define IDC_TRANSFORM 312
#define IDC_HIDDEN 313
#define IDC_SYM_POS 314
#define IDC_NAME 315

#define IDB_BUTTON 106
