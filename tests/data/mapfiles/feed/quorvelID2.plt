OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,255,KF7ODF              ,0,0,2,8421376
50
44.0582, -121.3153,0,   -777,, ,09:00
44.0590, -121.3100,0,   -777,, ,09:01
44.0600, -121.3050,0,   -777,, ,09:01
44.0610, -121.3000,0,   -777,, ,09:03
