OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,32768,W7ENG-9              ,0,0,2,8421376
50
44.0583, -121.315300084531,0,   -777,, ,12:02
