OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,255,AID 12              ,0,0,2,8421376
50
44.0683, -121.323333333333,0,   -777,, ,12:01
44.0718, -121.32675,0,   -777,, ,12:06
