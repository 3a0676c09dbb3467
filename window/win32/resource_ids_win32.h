#pragma once
// Resource ids of the pictures compiled into the program (shared with resources.rc).

#define IDI_FORM1 1
#define IDI_FORM1_IMAGE 30001

#define IDB_DIRECTIONS0 101
#define IDB_DIRECTIONS1 102
#define IDB_PICTURE2 103
#define IDB_PICTURE1 104
#define IDB_BRELLOW 105
#define IDB_ONTOP0 106
#define IDB_ONTOP1 107
#define IDB_XIT 108
#define IDB_PREV0 109
#define IDB_PREV1 110
#define IDB_PICK0 111
#define IDB_PICK1 112
#define IDB_NEWCAM0 113
#define IDB_NEWCAM1 114
#define IDB_IMAGE1 115
