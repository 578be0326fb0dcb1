OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,65535,WPT1              ,0,0,2,8421376
50
45.3673, -122.516666666667,0,   -777,, ,12:26
