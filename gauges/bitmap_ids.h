// Bitmap resource numbers: one block of 0x100 per gauge; a second icon
// picture or a window mask sits at ID+1 and pushes the next picture to ID+4.
// Shared by the gauge records, the resource script and the artwork generator.
#pragma once

#define BMP_AUTOSLAT_BACKGROUND 0x1000
#define BMP_AUTOSLAT_ICON 0x1003  // and 0x1004

#define BMP_HORIZON_FACE 0x1100
#define BMP_HORIZON_CARD 0x1200        // mask 0x1201
#define BMP_HORIZON_CARD_MASK 0x1201
#define BMP_HORIZON_INDEX 0x1300       // mask 0x1301
#define BMP_HORIZON_INDEX_MASK 0x1301
#define BMP_HORIZON_SLIP_NEEDLE 0x1400

#define BMP_GEAR_BACKGROUND 0x1500
#define BMP_GEAR_ICON 0x1503  // and 0x1504
#define BMP_GEAR_ICON_DOWN 0x1504

#define BMP_FLAP_BACKGROUND 0x1600
#define BMP_FLAP_EIN 0x1603
#define BMP_FLAP_AUS 0x1606
#define BMP_PLACARD 0x1609

#define BMP_AIRSPEED_DIAL 0x1700
#define BMP_AIRSPEED_NEEDLE 0x1703

#define BMP_RADALT_FACE 0x1800
#define BMP_RADALT_NEEDLE 0x1803
#define BMP_RADALT_COVER 0x1806

#define BMP_COMPASS_FACE 0x1900
#define BMP_COMPASS_HEADING_STRIP 0x1903  // mask 0x1904
#define BMP_COMPASS_HEADING_MASK 0x1904
#define BMP_COMPASS_COURSE_STRIP 0x1907   // mask 0x1908
#define BMP_COMPASS_COURSE_MASK 0x1908
#define BMP_COMPASS_FRAME 0x190B
#define BMP_COMPASS_SLIP_NEEDLE 0x190E

#define BMP_HEADING_BACKGROUND 0x2000
#define BMP_HEADING_CARD 0x2003
#define BMP_HEADING_COVER 0x2006
