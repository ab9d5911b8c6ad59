/* The gallery's resources and control ids. */
#ifndef ZQ_GALLERY_RES_H
#define ZQ_GALLERY_RES_H

#define IDR_GALLERY_FONT   0x3001
#define IDB_GALLERY_FRAMED 0x3101
#define IDB_GALLERY_STRIP  0x3102
#define IDB_GALLERY_DOT    0x3103
#define IDB_GALLERY_CHECK  0x3104

#define IDC_PUSH    101
#define IDC_TOGGLE  102
#define IDC_CYCLE   103
#define IDC_SPIN    104
#define IDC_LATCH   105
#define IDC_OFF     106
#define IDC_STATUS  110

#endif
