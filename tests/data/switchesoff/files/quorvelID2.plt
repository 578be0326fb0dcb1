OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,255,N7UNT              ,0,0,2,8421376
50
45.4000, -122.3,0,   -777,, ,12:16
