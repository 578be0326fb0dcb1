OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,16711680,W7TRK-9              ,0,0,2,8421376
50
45.5232, -122.6765,0,   -777,, ,12:00
45.5240, -122.670166666667,0,   -777,, ,12:33
