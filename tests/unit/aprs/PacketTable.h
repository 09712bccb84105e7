// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Packets of every kind the satellite carries, as stations send them, in
// Dire Wolf's monitor text (control bytes and bytes of 0x80 and above as
// <0xNN>). Written from the formats of the APRS Protocol Reference 1.0.1 and
// its Mic-E and comment extensions, with plausible stations, places and
// comments. Labels name what each one shows.

#include <string_view>

namespace aprstest {

struct TablePacket
{
    std::string_view label;
    std::string_view line;
};

inline constexpr TablePacket packetTable[] = {
    // Uncompressed positions without a timestamp, with the data extensions.
    {"position via ORVEX-1", R"~(DL2ABC-7>APRS,ORVEX-1*:!5230.53N/01322.85E-QTH Berlin)~"},
    {"position course/speed and altitude",
     R"~(KB1XYZ-9>APRS,WIDE1-1,WIDE2-1:=4215.32N/07143.08W>212/047/A=000587 on I-495)~"},
    {"position PHG", R"~(W3ABC>APRS:!3907.22N/07702.14W#PHG7430 W3ABC digi, Fort Reno)~"},
    {"position RNG", R"~(VE3XYZ-1>APRS,ORVEX-1*:!4345.12N/07923.51W#RNG0040 Toronto digi)~"},
    {"position ambiguity one digit", R"~(G4ABC>APRS:=5134.5 N/00007.1 W-home)~"},
    {"position ambiguity four digits", R"~(G4ABC>APRS:!51  .  N/000  .  W-somewhere in England)~"},
    {"position overlay", R"~(N5XYZ-10>APRS:!3312.40NS09704.42W#PHG5360 fill-in)~"},
    {"position south east alternate table",
     R"~(VK2ABC-9>APRS:=3351.92S\15112.47Ej4WD on the beach)~"},
    {"position DAO digits", R"~(PY2ABC-9>APRS:!2332.71S/04637.95W>000/000!W58!)~"},
    {"position DAO base 91", R"~(OH2ABC-9>APRS:!6010.24N/02456.36E>074/018 RF test !wQ9!)~"},
    {"position frequency tone offset",
     R"~(K4ABC-10>APRS:!3412.55N/08423.10Wr146.940MHz T100 -060 Repeater Canton)~"},
    {"position weather station",
     R"~(W5ABC-13>APRS:!3245.12N/09653.41W_180/005g012t082r000p001P000h65b10132 Davis VP2)~"},
    {"position DF report", R"~(N0ABC>APRS:!4903.50N/07201.75W\088/036/270/729 DF fox)~"},
    {"position Latin-1 comment",
     R"~(DL3ABC>APRS:!4810.22N/01135.40E-Gr<0xfc><0xdf>e aus M<0xfc>nchen)~"},
    {"position UTF-8 comment", R"~(F4ABC>APRS:!4851.30N/00221.08E-Tr<0xc3><0xa8>s bien)~"},
    {"position comment with a slash", R"~(N1ABC>APRS:!4200.00N/07100.00W-Tom/Mary mobile)~"},
    {"position short comment", R"~(N1ABC>APRS:!4200.00N/07100.00W-T100)~"},
    {"position base-91 telemetry in comment",
     R"~(N1ABC-11>APRS:!4200.00N/07100.00W-|!!"#$%|solar site)~"},
    {"position symbol from SSID", R"~(N0ABC-9>APRS:!4903.50N/07201.75W  no symbol code)~"},

    // Positions with a timestamp.
    {"position DHM zulu", R"~(N2ABC-9>APRS:@092345z4903.50N/07201.75W>088/036 commuting)~"},
    {"position DHM local", R"~(N2ABC-9>APRS:/092345/4903.50N/07201.75W>local time)~"},
    {"position HMS", R"~(N2ABC-9>APRS:/234517h4903.50N/07201.75W>hms form)~"},
    {"position compressed with timestamp", R"~(W1ABC-9>APRS:@151210z/;E@n/SCN>7P[ on the road)~"},

    // Compressed positions.
    {"compressed no course/speed", R"~(DK5ABC>APRS,ORVEX-1*:!/4"dGPwoC-   fixed station)~"},
    {"compressed course/speed", R"~(K6ABC-9>APRS:=/;E@n/SCN>7P[ San Francisco)~"},
    {"compressed range", R"~(N1ABC-1>APRS:!\8+S9<0x3c>L#3#{B[Mt Washington digi)~"},
    {"compressed altitude", R"~(W0ABC-11>APRS:!/:9=43qgnOYt3Balloon)~"},
    {"compressed overlay digit", R"~(VE6ABC>APRS:=c4b!!1_!!#!!T overlay digit)~"},
    {"compressed south east", R"~(VK2XYZ-14>APRS:!/_Y"ltalQkNU[ Sydney truck)~"},
    {"compressed weather", R"~(W7ABC>APRS:=/6H+J/UAt_X>[g012t061r000p010P005h88b10152)~"},
    {"compressed altitude in comment",
     R"~(JA1ABC>APRS:!/<0x3c>j!!qZ!!`   /A=000125 alt in comment)~"},

    // Mic-E: destination and information field.
    {"Mic-E TM-D710 altitude", R"~(N1ABC-9>TR3P0W,ORVEX-1*:`c_V<0x1f>ZO>/]"4N}Mic-E comment=)~"},
    {"Mic-E TH-D7 standing still", R"~(KC0ABC-7>SYUSWP:`pWF<0x1c><0x1c><0x1c>[/>walking the dog)~"},
    {"Mic-E VX-8", R"~(OE7ABC-9>T7QU20:`'4<0x1d><0x1d>0qj/`":3}Innsbruck_<0x20>)~"},
    {"Mic-E FT2D", R"~(JA1XYZ-9>SU4PX7:`CJ<0x1f><0x1e>;v>/`Tokyo_()~"},
    {"Mic-E TinyTrak", R"~(VE2ABC-9>TU3P1P:'e> !2bk/'TinyTrak|3)~"},
    {"Mic-E original", R"~(W5XYZ>SPQV0S:`}HW<0x1c><0x1c><0x1c>-/ old Mic-E)~"},
    {"Mic-E south east offset", R"~(VK2DEF-9>S3U2Q3,ORVEX-1*:`O(T<0x1d>DI>/]Sydney=)~"},
    {"Mic-E longitude below 10", R"~(G0ABC-9>UQ2XVW:`vX%<0x1c>=<0x1c>b/>Greenwich)~"},
    {"Mic-E longitude 100-109", R"~(HS0ABC-9>1STUS8:`l:' <0x1c>(>/]Bangkok=)~"},
    {"Mic-E overlay", R"~(SM0ABC-9>UY1Y76:`.\(<0x1f><0x1e><0x1c>#5]overlay=)~"},
    {"Mic-E custom message", R"~(DL4ABC-9>E8AX24:`'>Q"<0x1d>0>/]=)~"},
    {"Mic-E emergency", R"~(DL4ABC-9>480X24:`'>Q"<0x1d>0>/]EMERGENCY=)~"},
    {"Mic-E ambiguity", R"~(DL4ABC-9>TXPXLL:`'>Q"<0x1d>0>/]=)~"},
    {"Mic-E course 360", R"~(DL4ABC-9>TX0X24:`'>Q"<0x1f>X>/]north=)~"},
    {"Mic-E DAO", R"~(N1XYZ-9>TR3V0P:`c.<0x1c><0x1d><0x1c>v>/]!wB7!=)~"},
    {"Mic-E no type byte", R"~(N1XYZ-9>TR3V0P:`c.<0x1c><0x1d><0x1c>v>/Sent by a tracker)~"},

    // Status reports.
    {"status", R"~(W9ABC>APRS:>Monitoring the ORVEX downlink)~"},
    {"status with timestamp", R"~(W9ABC>APRS,ORVEX-1*:>121503zOn the air via ORVEX)~"},
    {"status locator 6", R"~(DL1XYZ>APRS:>JO62QM/- Berlin)~"},
    {"status locator 4", R"~(W1XYZ>APRS:>FN42/G)~"},
    {"status beam heading", R"~(G8ABC>APRS:>Meteor scatter sked ^B7)~"},
    {"status symbol from SSID", R"~(N0ABC-9>APRS:>en route)~"},
    {"status symbol GPSCnn", R"~(N0ABC>GPSC43:>school run)~"},
    {"status symbol SPCxy", R"~(N0ABC>SPCBL:>red cross)~"},
    {"status symbol GPSxyz overlay", R"~(N0ABC>GPSOD9:>overlay digi)~"},

    // Messages, acks, rejects, bulletins.
    {"message numbered", R"~(N0ABC-9>APRS,ORVEX-1*::DL1ABC-9 :See you on the next pass{17)~"},
    {"message without number", R"~(DL1ABC-9>APRS::N0ABC-9  :73 and thanks)~"},
    {"message reply-ack", R"~(DL1ABC-9>APRS::N0ABC-9  :Copy that{AB}CD)~"},
    {"ack", R"~(N0ABC-9>APRS::DL1ABC-9 :ack17)~"},
    {"reject", R"~(N0ABC-9>APRS::DL1ABC-9 :rej17)~"},
    {"bulletin", R"~(ORVEX-1>APRS::BLN1     :ORVEX pass 14:05 UTC, QRV on 145.825)~"},
    {"group bulletin", R"~(ORVEX-1>APRS::BLNAORVEX:Downlink off on Sunday)~"},
    {"NWS bulletin", R"~(W1ABC>APRS::NWS-WARN :Severe thunderstorm warning until 1800Z)~"},
    {"message that opens with ack", R"~(W1ABC>APRS::N0ABC    :acknowledged, see you)~"},
    {"telemetry names", R"~(N0ABC-11>APRS::N0ABC-11 :PARM.Vbat,Temp,Light,Rx,Tx,Door)~"},
    {"telemetry units", R"~(N0ABC-11>APRS::N0ABC-11 :UNIT.Volts,deg.C,lux,pkt,pkt,open)~"},
    {"telemetry equations",
     R"~(N0ABC-11>APRS::N0ABC-11 :EQNS.0,0.075,0,0,0.5,-40,0,1,0,0,1,0,0,1,0)~"},
    {"telemetry bits", R"~(N0ABC-11>APRS::N0ABC-11 :BITS.11111111,Garage weather)~"},
    {"directed query", R"~(N0ABC>APRS::DL1ABC   :?APRSP)~"},

    // Objects and items.
    {"object", R"~(W1ABC>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036Marathon leader)~"},
    {"object killed", R"~(W1ABC>APRS:;LEADER   _092345z4903.50N/07201.75W>)~"},
    {"object compressed", R"~(W1ABC>APRS:;ISS      *111111z/;E@n/SCN>7P[ISS on this pass)~"},
    {"object HMS", R"~(W1ABC>APRS:;EVENT    *163410h4226.70N/07105.09W/Field day site)~"},
    {"object repeater",
     R"~(W1ABC>APRS:;147.060FM*111111z4226.70N/07105.09Wr T100 -060 Club repeater)~"},
    {"object weather", R"~(W1ABC>APRS:;WX-BOS   *111111z4221.58N/07103.53W_090/007g015t045)~"},
    {"item", R"~(W1ABC>APRS:)AID #2!4903.50N/07201.75WA first aid)~"},
    {"item killed", R"~(W1ABC>APRS:)AID #2_4903.50N/07201.75WA)~"},
    {"item compressed", R"~(W1ABC>APRS:)Mt.Wash!\8+S9<0x3c>L#3#{B[summit)~"},
    {"item short name", R"~(W1ABC>APRS:)X1!4903.50N/07201.75W-)~"},

    // Telemetry.
    {"telemetry", R"~(N0ABC-11>APRS:T#005,199,000,255,073,123,01101001 Garage)~"},
    {"telemetry decimals", R"~(KB1ABC-10>APRS:T#491,4.9,0.3,25.0,0.0,1.0,00000000)~"},

    // Everything else.
    {"third party",
     R"~(N0ABC>APRS,ORVEX-1*:}W1AW>APRS,TCPIP,N0ABC*:!4903.50N/07201.75W-via the Internet)~"},
    {"capabilities", R"~(N0ABC-10>APRS:<IGATE,MSG_CNT=3,LOC_CNT=49)~"},
    {"general query", R"~(N0ABC>APRS:?APRS?)~"},
    {"NMEA",
     R"~(N0ABC-9>GPSC43:$GPRMC,063909,A,3349.4302,N,11700.3721,W,43.022,89.3,291099,13.6,E*52)~"},
    {"positionless weather", R"~(N0ABC>APRS:_10090556c220s004g005t077r000p000P000h50b09900wRSW)~"},
    {"beacon text", R"~(N0ABC>APRS:Hello from the ORVEX demo station)~"},
    {"T that is not telemetry", R"~(N0ABC>APRS:Test beacon, not telemetry)~"},
    {"Ultimeter", R"~(N0ABC>APRS:!!000000A600B50000----------------001C01D500000017)~"},

    // Garbage and truncated packets.
    {"empty", R"~(N0ABC>APRS:)~"},
    {"position cut short", R"~(N0ABC>APRS:!4903.50N/0720)~"},
    {"Mic-E cut short", R"~(N0ABC>TR3V0P:`c.<0x1c>)~"},
    {"message cut short", R"~(N0ABC>APRS::WU2)~"},
    {"object cut short", R"~(N0ABC>APRS:;OBJ)~"},
    {"binary garbage", R"~(N0ABC>APRS:<0x01><0x02><0xff>garbage<0x7f>)~"},
};

} // namespace aprstest
