OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,16711680,AID 1              ,0,0,2,8421376
50
44.0583, -121.315333333333,0,   -777,, ,12:00
44.0600, -121.315,0,   -777,, ,12:03
