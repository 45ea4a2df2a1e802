// Graphics, fonts, text measurement, bitmaps and resources of the portable platform: the Win32
// subset the device program uses, with the real names, types and constants.
#pragma once
