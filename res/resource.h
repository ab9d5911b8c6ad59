/* Resource identifiers, shared by the C++ sources and the resource script. */
#ifndef ZELVAQUINT_RESOURCE_H
#define ZELVAQUINT_RESOURCE_H

#define IDI_APP             101

#define IDD_AGREEMENT       0x1300
#define IDC_AGREEMENT_TEXT  0x1301
#define IDC_ACCEPT          0x1302
#define IDC_DECLINE         0x1303

#define IDR_FONT            0x1490

#define IDB_BACKGROUND      0x1500
#define IDB_CLOSE           0x1551
#define IDB_DONATE          0x1552

#endif
