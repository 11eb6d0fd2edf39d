/* The resource id of Ducat Console's program icon, shared by the version
   resource script that holds the icon and the window that shows it. Only a
   #define, so the resource compiler reads it too. */
#ifndef UI_WINDOW_RES_PROGRAM_ICON_ID_H
#define UI_WINDOW_RES_PROGRAM_ICON_ID_H

#define IDI_DUCAT_CONSOLE 1

#endif
