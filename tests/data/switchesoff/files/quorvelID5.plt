OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,65535,GPS1              ,0,0,2,8421376
50
45.3424, -122.631395,0,   -777,, ,12:24
45.3441, -122.633061666667,0,   -777,, ,12:25
