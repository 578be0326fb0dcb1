OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL
WGS 84
Altitude is in Feet
Reserved 3
0,2,8388736,KD7QRV-9              ,0,0,2,8421376
50
45.5123, -122.0575,0,   -777,, ,12:22
