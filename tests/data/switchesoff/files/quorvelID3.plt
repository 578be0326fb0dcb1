OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,32768,KF7ODF              ,0,0,2,8421376
50
44.0582, -121.315333333333,0,   -777,, ,12:17
44.0600, -121.313333333333,0,   -777,, ,12:18
44.0617, -121.311666666667,0,   -777,, ,12:34
