OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,16711680,W7TRK-9              ,0,0,2,8421376
50
45.5231, -122.6765,0,   -777,, ,09:00
45.5240, -122.6701,0,   -777,, ,09:01
46.5000, -117.0000,0,   -777,, ,09:02
45.5300, -122.6600,0,   -777,, ,09:04
