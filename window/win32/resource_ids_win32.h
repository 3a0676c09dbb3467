#pragma once
// Resource ids of the program's icon (shared with resources_win32.rc); the pictures
// are named after their files.

#define IDI_FORM1 1
#define IDI_FORM1_IMAGE 30001
