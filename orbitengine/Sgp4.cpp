// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Sgp4.h"

#include "orbitengine/CivilTime.h"
#include "orbitengine/FastTrig.h"
#include "orbitengine/Geometry.h"

#include <cmath>

// Symbols follow the published equations (Hoots & Roehrich 1980, Vallado et
// al. 2006) so that each line can be checked against them.
namespace orbit {
namespace {

const double radiusEr = wgs72::radiusKm;
const double xke = 60.0 / std::sqrt(radiusEr * radiusEr * radiusEr / wgs72::mu); // er^1.5/min
const double j2 = wgs72::j2;
const double j3oj2 = wgs72::j3 / wgs72::j2;
const double j4 = wgs72::j4;
const double vkmpersec = radiusEr * xke / 60.0;
constexpr double x2o3 = 2.0 / 3.0;
constexpr double temp4 = 1.5e-12;

// Like fmod(x, 2 pi) (the sign of x is kept) without the cost of fmod.
inline double wrap(double x)
{
    return x - twoPi * std::trunc(x / twoPi);
}

// Greenwich sidereal angle of the epoch for the deep-space theory: the
// IAU 1982 expression, as the standard verification set uses it.
double epochSidereal(double jd)
{
    return gmst(jd);
}

// Days since 1950-01-00 (the deep-space theory's time origin).
constexpr double jd1950 = 2433281.5;

} // namespace

Status Sgp4::init(const ElementSet &elements)
{
    *this = Sgp4{};
    elements_ = elements;

    const double xpdotp = minutesPerDay / twoPi; // rev/day -> rad/min
    const double noKozai = elements.meanMotion / xpdotp;
    ecco_ = elements.eccentricity;
    inclo_ = elements.inclinationDeg * degToRad;
    nodeo_ = elements.raanDeg * degToRad;
    argpo_ = elements.argPerigeeDeg * degToRad;
    mo_ = elements.meanAnomalyDeg * degToRad;
    bstar_ = elements.bstar;

    const bool finiteInput = std::isfinite(noKozai) && std::isfinite(ecco_) &&
                             std::isfinite(inclo_) && std::isfinite(nodeo_) &&
                             std::isfinite(argpo_) && std::isfinite(mo_) && std::isfinite(bstar_);
    if (!finiteInput)
        return {StatusCode::BadElements, "element set holds a value that is not a number"};
    if (!(noKozai > 0))
        return {StatusCode::MeanMotion, "mean motion is not positive"};
    if (ecco_ < 0 || ecco_ >= 1)
        return {StatusCode::MeanElements, "eccentricity outside [0, 1)"};

    // Un-Kozai the mean motion (initl).
    const double eccsq = ecco_ * ecco_;
    const double omeosq = 1.0 - eccsq;
    const double rteosq = std::sqrt(omeosq);
    const double cosio = std::cos(inclo_);
    const double cosio2 = cosio * cosio;
    const double ak = std::cbrt((xke / noKozai) * (xke / noKozai));
    const double d1 = 0.75 * j2 * (3.0 * cosio2 - 1.0) / (rteosq * omeosq);
    double del = d1 / (ak * ak);
    const double adel = ak * (1.0 - del * del - del * (1.0 / 3.0 + 134.0 * del * del / 81.0));
    del = d1 / (adel * adel);
    noUnkozai_ = noKozai / (1.0 + del);
    if (!(noUnkozai_ > 0) || !std::isfinite(noUnkozai_))
        return {StatusCode::MeanMotion, "mean motion is not positive"};

    const double ao = std::cbrt((xke / noUnkozai_) * (xke / noUnkozai_));
    ao_ = ao;
    const double sinio = std::sin(inclo_);
    sinio_ = sinio;
    cosio_ = cosio;
    const double po = ao * omeosq;
    const double con42 = 1.0 - 5.0 * cosio2;
    con41_ = -con42 - cosio2 - cosio2;
    const double posq = po * po;
    const double rp = ao * (1.0 - ecco_);
    const double epochJd = elements.epochJdWhole + elements.epochJdFraction;
    deep_.gsto = epochSidereal(epochJd);

    simple_ = rp < (220.0 / radiusEr + 1.0);

    // Atmosphere: s and q0 of the density function, adjusted for low perigees.
    const double ss = 78.0 / radiusEr + 1.0;
    const double qzms2t = std::pow((120.0 - 78.0) / radiusEr, 4);
    double sfour = ss;
    double qzms24 = qzms2t;
    const double perige = (rp - 1.0) * radiusEr;
    if (perige < 156.0) {
        sfour = perige - 78.0;
        if (perige < 98.0)
            sfour = 20.0;
        qzms24 = std::pow((120.0 - sfour) / radiusEr, 4);
        sfour = sfour / radiusEr + 1.0;
    }
    const double pinvsq = 1.0 / posq;
    const double tsi = 1.0 / (ao - sfour);
    eta_ = ao * ecco_ * tsi;
    const double etasq = eta_ * eta_;
    const double eeta = ecco_ * eta_;
    const double psisq = std::fabs(1.0 - etasq);
    const double coef = qzms24 * std::pow(tsi, 4);
    const double coef1 = coef / std::pow(psisq, 3.5);
    const double cc2 = coef1 * noUnkozai_ *
                       (ao * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
                        0.375 * j2 * tsi / psisq * con41_ * (8.0 + 3.0 * etasq * (8.0 + etasq)));
    cc1_ = bstar_ * cc2;
    double cc3 = 0;
    if (ecco_ > 1.0e-4)
        cc3 = -2.0 * coef * tsi * j3oj2 * noUnkozai_ * sinio / ecco_;
    x1mth2_ = 1.0 - cosio2;
    cc4_ = 2.0 * noUnkozai_ * coef1 * ao * omeosq *
           (eta_ * (2.0 + 0.5 * etasq) + ecco_ * (0.5 + 2.0 * etasq) -
            j2 * tsi / (ao * psisq) *
                (-3.0 * con41_ * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
                 0.75 * x1mth2_ * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * argpo_)));
    cc5_ = 2.0 * coef1 * ao * omeosq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);

    const double cosio4 = cosio2 * cosio2;
    const double temp1 = 1.5 * j2 * pinvsq * noUnkozai_;
    const double temp2 = 0.5 * temp1 * j2 * pinvsq;
    const double temp3 = -0.46875 * j4 * pinvsq * pinvsq * noUnkozai_;
    mdot_ = noUnkozai_ + 0.5 * temp1 * rteosq * con41_ +
            0.0625 * temp2 * rteosq * (13.0 - 78.0 * cosio2 + 137.0 * cosio4);
    argpdot_ = -0.5 * temp1 * con42 + 0.0625 * temp2 * (7.0 - 114.0 * cosio2 + 395.0 * cosio4) +
               temp3 * (3.0 - 36.0 * cosio2 + 49.0 * cosio4);
    const double xhdot1 = -temp1 * cosio;
    nodedot_ =
        xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * cosio2) + 2.0 * temp3 * (3.0 - 7.0 * cosio2)) * cosio;
    const double xpidot = argpdot_ + nodedot_;
    omgcof_ = bstar_ * cc3 * std::cos(argpo_);
    xmcof_ = 0;
    if (ecco_ > 1.0e-4)
        xmcof_ = -x2o3 * coef * bstar_ / eeta;
    nodecf_ = 3.5 * omeosq * xhdot1 * cc1_;
    t2cof_ = 1.5 * cc1_;
    if (std::fabs(cosio + 1.0) > 1.5e-12)
        xlcof_ = -0.25 * j3oj2 * sinio * (3.0 + 5.0 * cosio) / (1.0 + cosio);
    else
        xlcof_ = -0.25 * j3oj2 * sinio * (3.0 + 5.0 * cosio) / temp4;
    aycof_ = -0.5 * j3oj2 * sinio;
    const double delmotemp = 1.0 + eta_ * std::cos(mo_);
    delmo_ = delmotemp * delmotemp * delmotemp;
    sinmao_ = std::sin(mo_);
    x7thm1_ = 7.0 * cosio2 - 1.0;

    // Periods of 225 minutes or more use the deep-space theory.
    if (twoPi / noUnkozai_ >= 225.0) {
        deepSpace_ = true;
        simple_ = true;
        initDeepSpace(epochJd - jd1950, eccsq, xpidot);
    }

    if (!simple_) {
        const double cc1sq = cc1_ * cc1_;
        d2_ = 4.0 * ao * tsi * cc1sq;
        const double temp = d2_ * tsi * cc1_ / 3.0;
        d3_ = (17.0 * ao + sfour) * temp;
        d4_ = 0.5 * temp * ao * tsi * (221.0 * ao + 31.0 * sfour) * cc1_;
        t3cof_ = d2_ + 2.0 * cc1sq;
        t4cof_ = 0.25 * (3.0 * d3_ + cc1_ * (12.0 * d2_ + 10.0 * cc1sq));
        t5cof_ = 0.2 * (3.0 * d4_ + 12.0 * cc1_ * d3_ + 6.0 * d2_ * d2_ +
                        15.0 * cc1sq * (2.0 * d2_ + cc1sq));
    }

    ready_ = true;
    // The state at epoch must be computable, or the set is unusable.
    StateVector atEpoch;
    Status status = propagate(0.0, atEpoch);
    if (!status)
        ready_ = false;
    return status;
}

void Sgp4::initDeepSpace(double epochDays, double eccsq, double xpidot)
{
    Deep &d = deep_;
    // Lunar and solar constants (dscom).
    constexpr double zes = 0.01675, zel = 0.05490;
    constexpr double c1ss = 2.9864797e-6, c1l = 4.7968065e-7;
    constexpr double zsinis = 0.39785416, zcosis = 0.91744867;
    constexpr double zcosgs = 0.1945905, zsings = -0.98088458;

    const double nm = noUnkozai_;
    const double em = ecco_;
    const double snodm = std::sin(nodeo_), cnodm = std::cos(nodeo_);
    const double sinomm = std::sin(argpo_), cosomm = std::cos(argpo_);
    const double sinim = std::sin(inclo_), cosim = std::cos(inclo_);
    const double emsq = em * em;
    const double betasq = 1.0 - emsq;
    const double rtemsq = std::sqrt(betasq);

    const double day = epochDays + 18261.5;
    const double xnodce = std::fmod(4.5236020 - 9.2422029e-4 * day, twoPi);
    const double stem = std::sin(xnodce), ctem = std::cos(xnodce);
    const double zcosil = 0.91375164 - 0.03568096 * ctem;
    const double zsinil = std::sqrt(1.0 - zcosil * zcosil);
    const double zsinhl = 0.089683511 * stem / zsinil;
    const double zcoshl = std::sqrt(1.0 - zsinhl * zsinhl);
    const double gam = 5.8351514 + 0.0019443680 * day;
    double zx = 0.39785416 * stem / zsinil;
    const double zy = zcoshl * ctem + 0.91744867 * zsinhl * stem;
    zx = std::atan2(zx, zy);
    zx = gam + zx - xnodce;
    const double zcosgl = std::cos(zx), zsingl = std::sin(zx);

    // Two passes: the sun (s-terms, kept in ss*/sz*), then the moon.
    double zcosg = zcosgs, zsing = zsings, zcosi = zcosis, zsini = zsinis;
    double zcosh = cnodm, zsinh = snodm, cc = c1ss;
    const double xnoi = 1.0 / nm;
    double ss1 = 0, ss2 = 0, ss3 = 0, ss4 = 0, ss5 = 0, ss6 = 0, ss7 = 0;
    double sz1 = 0, sz2 = 0, sz3 = 0, sz11 = 0, sz12 = 0, sz13 = 0, sz21 = 0, sz22 = 0, sz23 = 0;
    double sz31 = 0, sz32 = 0, sz33 = 0;
    double s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0, s6 = 0, s7 = 0;
    double z1 = 0, z2 = 0, z3 = 0, z11 = 0, z12 = 0, z13 = 0, z21 = 0, z22 = 0, z23 = 0;
    double z31 = 0, z32 = 0, z33 = 0;
    for (int body = 0; body < 2; ++body) {
        const double a1 = zcosg * zcosh + zsing * zcosi * zsinh;
        const double a3 = -zsing * zcosh + zcosg * zcosi * zsinh;
        const double a7 = -zcosg * zsinh + zsing * zcosi * zcosh;
        const double a8 = zsing * zsini;
        const double a9 = zsing * zsinh + zcosg * zcosi * zcosh;
        const double a10 = zcosg * zsini;
        const double a2 = cosim * a7 + sinim * a8;
        const double a4 = cosim * a9 + sinim * a10;
        const double a5 = -sinim * a7 + cosim * a8;
        const double a6 = -sinim * a9 + cosim * a10;

        const double x1 = a1 * cosomm + a2 * sinomm;
        const double x2 = a3 * cosomm + a4 * sinomm;
        const double x3 = -a1 * sinomm + a2 * cosomm;
        const double x4 = -a3 * sinomm + a4 * cosomm;
        const double x5 = a5 * sinomm;
        const double x6 = a6 * sinomm;
        const double x7 = a5 * cosomm;
        const double x8 = a6 * cosomm;

        z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
        z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
        z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
        z1 = 3.0 * (a1 * a1 + a2 * a2) + z31 * emsq;
        z2 = 6.0 * (a1 * a3 + a2 * a4) + z32 * emsq;
        z3 = 3.0 * (a3 * a3 + a4 * a4) + z33 * emsq;
        z11 = -6.0 * a1 * a5 + emsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
        z12 = -6.0 * (a1 * a6 + a3 * a5) +
              emsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
        z13 = -6.0 * a3 * a6 + emsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
        z21 = 6.0 * a2 * a5 + emsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
        z22 = 6.0 * (a4 * a5 + a2 * a6) +
              emsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
        z23 = 6.0 * a4 * a6 + emsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
        z1 = z1 + z1 + betasq * z31;
        z2 = z2 + z2 + betasq * z32;
        z3 = z3 + z3 + betasq * z33;
        s3 = cc * xnoi;
        s2 = -0.5 * s3 / rtemsq;
        s4 = s3 * rtemsq;
        s1 = -15.0 * em * s4;
        s5 = x1 * x3 + x2 * x4;
        s6 = x2 * x3 + x1 * x4;
        s7 = x2 * x4 - x1 * x3;

        if (body == 0) {
            ss1 = s1, ss2 = s2, ss3 = s3, ss4 = s4, ss5 = s5, ss6 = s6, ss7 = s7;
            sz1 = z1, sz2 = z2, sz3 = z3, sz11 = z11, sz12 = z12, sz13 = z13;
            sz21 = z21, sz22 = z22, sz23 = z23, sz31 = z31, sz32 = z32, sz33 = z33;
            zcosg = zcosgl;
            zsing = zsingl;
            zcosi = zcosil;
            zsini = zsinil;
            zcosh = zcoshl * cnodm + zsinhl * snodm;
            zsinh = snodm * zcoshl - cnodm * zsinhl;
            cc = c1l;
        }
    }
    d.zmol = std::fmod(4.7199672 + 0.22997150 * day - gam, twoPi);
    d.zmos = std::fmod(6.2565837 + 0.017201977 * day, twoPi);

    d.se2 = 2.0 * ss1 * ss6;
    d.se3 = 2.0 * ss1 * ss7;
    d.si2 = 2.0 * ss2 * sz12;
    d.si3 = 2.0 * ss2 * (sz13 - sz11);
    d.sl2 = -2.0 * ss3 * sz2;
    d.sl3 = -2.0 * ss3 * (sz3 - sz1);
    d.sl4 = -2.0 * ss3 * (-21.0 - 9.0 * emsq) * zes;
    d.sgh2 = 2.0 * ss4 * sz32;
    d.sgh3 = 2.0 * ss4 * (sz33 - sz31);
    d.sgh4 = -18.0 * ss4 * zes;
    d.sh2 = -2.0 * ss2 * sz22;
    d.sh3 = -2.0 * ss2 * (sz23 - sz21);

    d.ee2 = 2.0 * s1 * s6;
    d.e3 = 2.0 * s1 * s7;
    d.xi2 = 2.0 * s2 * z12;
    d.xi3 = 2.0 * s2 * (z13 - z11);
    d.xl2 = -2.0 * s3 * z2;
    d.xl3 = -2.0 * s3 * (z3 - z1);
    d.xl4 = -2.0 * s3 * (-21.0 - 9.0 * emsq) * zel;
    d.xgh2 = 2.0 * s4 * z32;
    d.xgh3 = 2.0 * s4 * (z33 - z31);
    d.xgh4 = -18.0 * s4 * zel;
    d.xh2 = -2.0 * s2 * z22;
    d.xh3 = -2.0 * s2 * (z23 - z21);

    // Secular rates and resonance (dsinit).
    constexpr double q22 = 1.7891679e-6, q31 = 2.1460748e-6, q33 = 2.2123015e-7;
    constexpr double root22 = 1.7891679e-6, root44 = 7.3636953e-9, root54 = 2.1765803e-9;
    constexpr double rptim = 4.37526908801129966e-3; // Earth rotation, rad/min
    constexpr double root32 = 3.7393792e-7, root52 = 1.1428639e-7;
    constexpr double znl = 1.5835218e-4, zns = 1.19459e-5;

    d.irez = 0;
    if (nm < 0.0052359877 && nm > 0.0034906585)
        d.irez = 1;
    if (nm >= 8.26e-3 && nm <= 9.24e-3 && em >= 0.5)
        d.irez = 2;

    const double inclm = inclo_;
    const bool nearEquatorial = inclm < 5.2359877e-2 || inclm > pi - 5.2359877e-2;
    const double ses = ss1 * zns * ss5;
    const double sis = ss2 * zns * (sz11 + sz13);
    const double sls = -zns * ss3 * (sz1 + sz3 - 14.0 - 6.0 * emsq);
    const double sghs = ss4 * zns * (sz31 + sz33 - 6.0);
    double shs = -zns * ss2 * (sz21 + sz23);
    if (nearEquatorial)
        shs = 0.0;
    if (sinim != 0.0)
        shs = shs / sinim;
    const double sgs = sghs - cosim * shs;

    d.dedt = ses + s1 * znl * s5;
    d.didt = sis + s2 * znl * (z11 + z13);
    d.dmdt = sls - znl * s3 * (z1 + z3 - 14.0 - 6.0 * emsq);
    const double sghl = s4 * znl * (z31 + z33 - 6.0);
    double shll = -znl * s2 * (z21 + z23);
    if (nearEquatorial)
        shll = 0.0;
    d.domdt = sgs + sghl;
    d.dnodt = shs;
    if (sinim != 0.0) {
        d.domdt = d.domdt - cosim / sinim * shll;
        d.dnodt = d.dnodt + shll / sinim;
    }

    const double theta = std::fmod(d.gsto, twoPi);
    if (d.irez == 0)
        return;
    const double aonv = std::cbrt((nm / xke) * (nm / xke));

    if (d.irez == 2) {
        const double cosisq = cosim * cosim;
        const double e = ecco_;
        const double esq = eccsq;
        const double eoc = e * esq;
        const double g201 = -0.306 - (e - 0.64) * 0.440;
        double g211, g310, g322, g410, g422, g520, g521, g532, g533;
        if (e <= 0.65) {
            g211 = 3.616 - 13.2470 * e + 16.2900 * esq;
            g310 = -19.302 + 117.3900 * e - 228.4190 * esq + 156.5910 * eoc;
            g322 = -18.9068 + 109.7927 * e - 214.6334 * esq + 146.5816 * eoc;
            g410 = -41.122 + 242.6940 * e - 471.0940 * esq + 313.9530 * eoc;
            g422 = -146.407 + 841.8800 * e - 1629.014 * esq + 1083.4350 * eoc;
            g520 = -532.114 + 3017.977 * e - 5740.032 * esq + 3708.2760 * eoc;
        } else {
            g211 = -72.099 + 331.819 * e - 508.738 * esq + 266.724 * eoc;
            g310 = -346.844 + 1582.851 * e - 2415.925 * esq + 1246.113 * eoc;
            g322 = -342.585 + 1554.908 * e - 2366.899 * esq + 1215.972 * eoc;
            g410 = -1052.797 + 4758.686 * e - 7193.992 * esq + 3651.957 * eoc;
            g422 = -3581.690 + 16178.110 * e - 24462.770 * esq + 12422.520 * eoc;
            if (e > 0.715)
                g520 = -5149.66 + 29936.92 * e - 54087.36 * esq + 31324.56 * eoc;
            else
                g520 = 1464.74 - 4664.75 * e + 3763.64 * esq;
        }
        if (e < 0.7) {
            g533 = -919.22770 + 4988.6100 * e - 9064.7700 * esq + 5542.21 * eoc;
            g521 = -822.71072 + 4568.6173 * e - 8491.4146 * esq + 5337.524 * eoc;
            g532 = -853.66600 + 4690.2500 * e - 8624.7700 * esq + 5341.4 * eoc;
        } else {
            g533 = -37995.780 + 161616.52 * e - 229838.20 * esq + 109377.94 * eoc;
            g521 = -51752.104 + 218913.95 * e - 309468.16 * esq + 146349.42 * eoc;
            g532 = -40023.880 + 170470.89 * e - 242699.48 * esq + 115605.82 * eoc;
        }
        const double sini2 = sinim * sinim;
        const double f220 = 0.75 * (1.0 + 2.0 * cosim + cosisq);
        const double f221 = 1.5 * sini2;
        const double f321 = 1.875 * sinim * (1.0 - 2.0 * cosim - 3.0 * cosisq);
        const double f322 = -1.875 * sinim * (1.0 + 2.0 * cosim - 3.0 * cosisq);
        const double f441 = 35.0 * sini2 * f220;
        const double f442 = 39.3750 * sini2 * sini2;
        const double f522 = 9.84375 * sinim *
                            (sini2 * (1.0 - 2.0 * cosim - 5.0 * cosisq) +
                             0.33333333 * (-2.0 + 4.0 * cosim + 6.0 * cosisq));
        const double f523 = sinim * (4.92187512 * sini2 * (-2.0 - 4.0 * cosim + 10.0 * cosisq) +
                                     6.56250012 * (1.0 + 2.0 * cosim - 3.0 * cosisq));
        const double f542 =
            29.53125 * sinim * (2.0 - 8.0 * cosim + cosisq * (-12.0 + 8.0 * cosim + 10.0 * cosisq));
        const double f543 =
            29.53125 * sinim * (-2.0 - 8.0 * cosim + cosisq * (12.0 + 8.0 * cosim - 10.0 * cosisq));
        const double xno2 = nm * nm;
        const double ainv2 = aonv * aonv;
        double temp1 = 3.0 * xno2 * ainv2;
        double temp = temp1 * root22;
        d.d2201 = temp * f220 * g201;
        d.d2211 = temp * f221 * g211;
        temp1 = temp1 * aonv;
        temp = temp1 * root32;
        d.d3210 = temp * f321 * g310;
        d.d3222 = temp * f322 * g322;
        temp1 = temp1 * aonv;
        temp = 2.0 * temp1 * root44;
        d.d4410 = temp * f441 * g410;
        d.d4422 = temp * f442 * g422;
        temp1 = temp1 * aonv;
        temp = temp1 * root52;
        d.d5220 = temp * f522 * g520;
        d.d5232 = temp * f523 * g532;
        temp = 2.0 * temp1 * root54;
        d.d5421 = temp * f542 * g521;
        d.d5433 = temp * f543 * g533;
        d.xlamo = std::fmod(mo_ + nodeo_ + nodeo_ - theta - theta, twoPi);
        d.xfact = mdot_ + d.dmdt + 2.0 * (nodedot_ + d.dnodt - rptim) - noUnkozai_;
    } else {
        const double g200 = 1.0 + emsq * (-2.5 + 0.8125 * emsq);
        const double g310 = 1.0 + 2.0 * emsq;
        const double g300 = 1.0 + emsq * (-6.0 + 6.60937 * emsq);
        const double f220 = 0.75 * (1.0 + cosim) * (1.0 + cosim);
        const double f311 = 0.9375 * sinim * sinim * (1.0 + 3.0 * cosim) - 0.75 * (1.0 + cosim);
        double f330 = 1.0 + cosim;
        f330 = 1.875 * f330 * f330 * f330;
        d.del1 = 3.0 * nm * nm * aonv * aonv;
        d.del2 = 2.0 * d.del1 * f220 * g200 * q22;
        d.del3 = 3.0 * d.del1 * f330 * g300 * q33 * aonv;
        d.del1 = d.del1 * f311 * g310 * q31 * aonv;
        d.xlamo = std::fmod(mo_ + nodeo_ + argpo_ - theta, twoPi);
        d.xfact = mdot_ + xpidot - rptim + d.dmdt + d.domdt + d.dnodt - noUnkozai_;
    }
    d.xli = d.xlamo;
    d.xni = noUnkozai_;
    d.atime = 0.0;
}

Status Sgp4::deepSecular(double t, double &em, double &argpm, double &inclm, double &mm,
                         double &nodem, double &nm)
{
    Deep &d = deep_;
    constexpr double fasx2 = 0.13130908, fasx4 = 2.8843198, fasx6 = 0.37448087;
    constexpr double g22 = 5.7686396, g32 = 0.95240898, g44 = 1.8014998;
    constexpr double g52 = 1.0508330, g54 = 4.4108898;
    constexpr double rptim = 4.37526908801129966e-3;
    constexpr double stepp = 720.0, stepn = -720.0, step2 = 259200.0;

    em += d.dedt * t;
    inclm += d.didt * t;
    argpm += d.domdt * t;
    nodem += d.dnodt * t;
    mm += d.dmdt * t;
    if (d.irez == 0)
        return Status::ok();

    const double theta = wrap(d.gsto + t * rptim);
    // Restart from epoch when the integrator would have to run backwards.
    if (d.atime == 0.0 || t * d.atime <= 0.0 || std::fabs(t) < std::fabs(d.atime)) {
        d.atime = 0.0;
        d.xni = noUnkozai_;
        d.xli = d.xlamo;
        d.derivativesValid = false;
    }
    const double delt = t > 0.0 ? stepp : stepn;
    // Whole steps to go, plus one: a cap on the loop that cannot be reached in error.
    const double stepsLeft = std::fabs(t - d.atime) / stepp + 2.0;
    if (!(stepsLeft < 2.0e5)) // about 270 years
        return {StatusCode::BadArgument,
                "time too far from the epoch for the resonance integrator"};
    const long cap = static_cast<long>(stepsLeft);

    double xndt = 0, xldot = 0, xnddt = 0, ft = 0;
    for (long step = 0;; ++step) {
        // The derivatives at the integrator's point are kept between calls:
        // stepping forward by minutes then costs no trigonometry at all.
        if (d.derivativesValid) {
            xndt = d.xndt;
            xldot = d.xldot;
            xnddt = d.xnddt;
        } else if (d.irez != 2) {
            double s1, c1, s2, c2, s3, c3;
            trig::sinCos(d.xli - fasx2, s1, c1);
            trig::sinCos(2.0 * (d.xli - fasx4), s2, c2);
            trig::sinCos(3.0 * (d.xli - fasx6), s3, c3);
            xndt = d.del1 * s1 + d.del2 * s2 + d.del3 * s3;
            xldot = d.xni + d.xfact;
            xnddt = (d.del1 * c1 + 2.0 * d.del2 * c2 + 3.0 * d.del3 * c3) * xldot;
        } else {
            const double xomi = argpo_ + argpdot_ * d.atime;
            const double x2omi = xomi + xomi;
            const double x2li = d.xli + d.xli;
            double s[10], c[10];
            trig::sinCos(x2omi + d.xli - g22, s[0], c[0]);
            trig::sinCos(d.xli - g22, s[1], c[1]);
            trig::sinCos(xomi + d.xli - g32, s[2], c[2]);
            trig::sinCos(-xomi + d.xli - g32, s[3], c[3]);
            trig::sinCos(x2omi + x2li - g44, s[4], c[4]);
            trig::sinCos(x2li - g44, s[5], c[5]);
            trig::sinCos(xomi + d.xli - g52, s[6], c[6]);
            trig::sinCos(-xomi + d.xli - g52, s[7], c[7]);
            trig::sinCos(xomi + x2li - g54, s[8], c[8]);
            trig::sinCos(-xomi + x2li - g54, s[9], c[9]);
            xndt = d.d2201 * s[0] + d.d2211 * s[1] + d.d3210 * s[2] + d.d3222 * s[3] +
                   d.d4410 * s[4] + d.d4422 * s[5] + d.d5220 * s[6] + d.d5232 * s[7] +
                   d.d5421 * s[8] + d.d5433 * s[9];
            xldot = d.xni + d.xfact;
            xnddt = d.d2201 * c[0] + d.d2211 * c[1] + d.d3210 * c[2] + d.d3222 * c[3] +
                    d.d5220 * c[6] + d.d5232 * c[7] +
                    2.0 * (d.d4410 * c[4] + d.d4422 * c[5] + d.d5421 * c[8] + d.d5433 * c[9]);
            xnddt *= xldot;
        }
        d.xndt = xndt;
        d.xldot = xldot;
        d.xnddt = xnddt;
        d.derivativesValid = true;
        if (std::fabs(t - d.atime) < stepp) {
            ft = t - d.atime;
            break;
        }
        if (step > cap)
            return {StatusCode::NotConverged, "resonance integrator did not reach the time"};
        d.xli += xldot * delt + xndt * step2;
        d.xni += xndt * delt + xnddt * step2;
        d.atime += delt;
        d.derivativesValid = false;
    }
    nm = d.xni + xndt * ft + xnddt * ft * ft * 0.5;
    const double xl = d.xli + xldot * ft + xndt * ft * ft * 0.5;
    if (d.irez != 1)
        mm = xl - 2.0 * nodem + 2.0 * theta;
    else
        mm = xl - nodem - argpm + theta;
    return Status::ok();
}

void Sgp4::deepPeriodics(double t, double &ep, double &inclp, double &nodep, double &argpp,
                         double &mp, double &sinip, double &cosip) const
{
    const Deep &d = deep_;
    constexpr double zns = 1.19459e-5, zes = 0.01675, znl = 1.5835218e-4, zel = 0.05490;

    double zm = d.zmos + zns * t;
    double zf = zm + 2.0 * zes * trig::sin(zm);
    double sinzf, coszf;
    trig::sinCos(zf, sinzf, coszf);
    double f2 = 0.5 * sinzf * sinzf - 0.25;
    double f3 = -0.5 * sinzf * coszf;
    const double ses = d.se2 * f2 + d.se3 * f3;
    const double sis = d.si2 * f2 + d.si3 * f3;
    const double sls = d.sl2 * f2 + d.sl3 * f3 + d.sl4 * sinzf;
    const double sghs = d.sgh2 * f2 + d.sgh3 * f3 + d.sgh4 * sinzf;
    const double shs = d.sh2 * f2 + d.sh3 * f3;

    zm = d.zmol + znl * t;
    zf = zm + 2.0 * zel * trig::sin(zm);
    trig::sinCos(zf, sinzf, coszf);
    f2 = 0.5 * sinzf * sinzf - 0.25;
    f3 = -0.5 * sinzf * coszf;
    const double sel = d.ee2 * f2 + d.e3 * f3;
    const double sil = d.xi2 * f2 + d.xi3 * f3;
    const double sll = d.xl2 * f2 + d.xl3 * f3 + d.xl4 * sinzf;
    const double sghl = d.xgh2 * f2 + d.xgh3 * f3 + d.xgh4 * sinzf;
    const double shll = d.xh2 * f2 + d.xh3 * f3;

    const double pe = ses + sel;
    const double pinc = sis + sil;
    const double pl = sls + sll;
    double pgh = sghs + sghl;
    double ph = shs + shll;

    inclp += pinc;
    ep += pe;
    trig::sinCos(inclp, sinip, cosip);
    if (inclp >= 0.2) {
        ph /= sinip;
        pgh -= cosip * ph;
        argpp += pgh;
        nodep += ph;
        mp += pl;
    } else {
        // Low inclination: apply the periodics to the node through the
        // non-singular elements (Lyddane).
        double sinop, cosop;
        trig::sinCos(nodep, sinop, cosop);
        double alfdp = sinip * sinop;
        double betdp = sinip * cosop;
        const double dalf = ph * cosop + pinc * cosip * sinop;
        const double dbet = -ph * sinop + pinc * cosip * cosop;
        alfdp += dalf;
        betdp += dbet;
        nodep = std::fmod(nodep, twoPi);
        double xls = mp + argpp + cosip * nodep;
        const double dls = pl + pgh - pinc * nodep * sinip;
        xls += dls;
        const double xnoh = nodep;
        nodep = std::atan2(alfdp, betdp);
        if (std::fabs(xnoh - nodep) > pi) {
            if (nodep < xnoh)
                nodep += twoPi;
            else
                nodep -= twoPi;
        }
        mp += pl;
        argpp = xls - mp - cosip * nodep;
    }
}

Status Sgp4::propagate(double t, StateVector &out)
{
    out = StateVector{};
    if (!ready_)
        return {StatusCode::BadElements, "propagator not initialised from a usable element set"};
    if (!std::isfinite(t))
        return {StatusCode::BadArgument, "time is not a number"};

    // Secular gravity and atmospheric drag.
    const double xmdf = mo_ + mdot_ * t;
    const double argpdf = argpo_ + argpdot_ * t;
    const double nodedf = nodeo_ + nodedot_ * t;
    double argpm = argpdf;
    double mm = xmdf;
    const double t2 = t * t;
    double nodem = nodedf + nodecf_ * t2;
    double tempa = 1.0 - cc1_ * t;
    double tempe = bstar_ * cc4_ * t;
    double templ = t2cof_ * t2;
    if (!simple_) {
        const double delomg = omgcof_ * t;
        double sinxmdf, cosxmdf;
        trig::sinCos(xmdf, sinxmdf, cosxmdf);
        const double delmtemp = 1.0 + eta_ * cosxmdf;
        const double delm = xmcof_ * (delmtemp * delmtemp * delmtemp - delmo_);
        const double temp = delomg + delm;
        mm = xmdf + temp;
        argpm = argpdf - temp;
        const double t3 = t2 * t;
        const double t4 = t3 * t;
        tempa = tempa - d2_ * t2 - d3_ * t3 - d4_ * t4;
        // sin(mm) by rotating sin(xmdf) through the small drag correction
        double sinmm;
        if (std::fabs(temp) < 0.78) {
            double sd, cd;
            trig::sinCosOfCorrection(temp, sd, cd);
            sinmm = sinxmdf * cd + cosxmdf * sd;
        } else {
            sinmm = trig::sin(mm);
        }
        tempe = tempe + bstar_ * cc5_ * (sinmm - sinmao_);
        templ = templ + t3cof_ * t3 + t4 * (t4cof_ + t * t5cof_);
    }
    double nm = noUnkozai_;
    double em = ecco_;
    double inclm = inclo_;
    if (deepSpace_) {
        Status status = deepSecular(t, em, argpm, inclm, mm, nodem, nm);
        if (!status)
            return status;
    }
    if (!(nm > 0.0))
        return {StatusCode::MeanMotion, "mean motion is not positive"};
    // (xke / nm)^(2/3): nm differs from its epoch value only under resonance.
    const double ratio = xke / nm;
    const double am = (nm == noUnkozai_ ? ao_ : std::cbrt(ratio * ratio)) * tempa * tempa;
    nm = xke / (am * std::sqrt(am));
    em -= tempe;
    if (!(em < 1.0 && em >= -0.001) || !(am > 0.0))
        return {StatusCode::MeanElements, "mean eccentricity outside [-0.001, 1)"};
    if (em < 1.0e-6)
        em = 1.0e-6;
    mm += noUnkozai_ * templ;
    double xlm = mm + argpm + nodem;
    nodem = wrap(nodem);
    argpm = wrap(argpm);
    xlm = wrap(xlm);
    mm = wrap(xlm - argpm - nodem);

    // Lunar-solar periodics.
    double ep = em, xincp = inclm, argpp = argpm, nodep = nodem, mp = mm;
    double sinip, cosip;
    double aycof = aycof_, xlcof = xlcof_;
    double con41 = con41_, x1mth2 = x1mth2_, x7thm1 = x7thm1_;
    if (deepSpace_) {
        deepPeriodics(t, ep, xincp, nodep, argpp, mp, sinip, cosip);
        if (xincp < 0.0) {
            xincp = -xincp;
            sinip = -sinip;
            nodep += pi;
            argpp -= pi;
        }
        if (ep < 0.0 || ep > 1.0)
            return {StatusCode::PerturbedEccentricity,
                    "eccentricity after the periodic terms outside [0, 1]"};
        aycof = -0.5 * j3oj2 * sinip;
        if (std::fabs(cosip + 1.0) > 1.5e-12)
            xlcof = -0.25 * j3oj2 * sinip * (3.0 + 5.0 * cosip) / (1.0 + cosip);
        else
            xlcof = -0.25 * j3oj2 * sinip * (3.0 + 5.0 * cosip) / temp4;
        const double cosisq = cosip * cosip;
        con41 = 3.0 * cosisq - 1.0;
        x1mth2 = 1.0 - cosisq;
        x7thm1 = 7.0 * cosisq - 1.0;
    } else {
        sinip = sinio_;
        cosip = cosio_;
    }

    // Long-period periodics.
    double sinargp, cosargp;
    trig::sinCos(argpp, sinargp, cosargp);
    const double axnl = ep * cosargp;
    double temp = 1.0 / (am * (1.0 - ep * ep));
    const double aynl = ep * sinargp + temp * aycof;
    const double xl = mp + argpp + nodep + temp * xlcof * axnl;

    // Kepler's equation in the equinoctial form.
    const double u = wrap(xl - nodep);
    // Newton steps; sine and cosine follow each step by rotation.
    double eo1 = u;
    double sineo1, coseo1;
    trig::sinCos(eo1, sineo1, coseo1);
    for (int k = 0; k < 10; ++k) {
        double tem5 = 1.0 - coseo1 * axnl - sineo1 * aynl;
        tem5 = (u - aynl * coseo1 + axnl * sineo1 - eo1) / tem5;
        if (std::fabs(tem5) >= 0.95)
            tem5 = tem5 > 0.0 ? 0.95 : -0.95;
        if (std::fabs(tem5) < 1.0e-12)
            break;
        eo1 += tem5;
        double sd, cd;
        if (std::fabs(tem5) < 0.78)
            trig::sinCosOfCorrection(tem5, sd, cd);
        else
            trig::sinCos(tem5, sd, cd);
        const double s0 = sineo1;
        sineo1 = s0 * cd + coseo1 * sd;
        coseo1 = coseo1 * cd - s0 * sd;
    }

    // Short-period periodics.
    const double ecose = axnl * coseo1 + aynl * sineo1;
    const double esine = axnl * sineo1 - aynl * coseo1;
    const double el2 = axnl * axnl + aynl * aynl;
    const double pl = am * (1.0 - el2);
    if (pl < 0.0)
        return {StatusCode::SemiLatusRectum, "semi-latus rectum negative"};
    const double rl = am * (1.0 - ecose);
    const double rdotl = std::sqrt(am) * esine / rl;
    const double rvdotl = std::sqrt(pl) / rl;
    const double betal = std::sqrt(1.0 - el2);
    temp = esine / (1.0 + betal);
    const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
    const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
    const double sin2u = (cosu + cosu) * sinu;
    const double cos2u = 1.0 - 2.0 * sinu * sinu;
    temp = 1.0 / pl;
    const double temp1 = 0.5 * j2 * temp;
    const double temp2 = temp1 * temp;

    const double mrt = rl * (1.0 - 1.5 * temp2 * betal * con41) + 0.5 * temp1 * x1mth2 * cos2u;
    // u less its short-period term, as a rotation of the unit vector (sin u, cos u).
    double sinsu, cossu;
    {
        const double du = -0.25 * temp2 * x7thm1 * sin2u;
        double sd, cd;
        if (std::fabs(du) < 0.78)
            trig::sinCosOfCorrection(du, sd, cd);
        else
            trig::sinCos(du, sd, cd);
        const double norm = 1.0 / std::sqrt(sinu * sinu + cosu * cosu);
        const double su0 = sinu * norm, cu0 = cosu * norm;
        sinsu = su0 * cd + cu0 * sd;
        cossu = cu0 * cd - su0 * sd;
    }
    const double xnode = nodep + 1.5 * temp2 * cosip * sin2u;
    const double xinc = xincp + 1.5 * temp2 * cosip * sinip * cos2u;
    const double mvt = rdotl - nm * temp1 * x1mth2 * sin2u / xke;
    const double rvdot = rvdotl + nm * temp1 * (x1mth2 * cos2u + 1.5 * con41) / xke;

    double snod, cnod, sini, cosi;
    trig::sinCos(xnode, snod, cnod);
    trig::sinCos(xinc, sini, cosi);
    const double xmx = -snod * cosi;
    const double xmy = cnod * cosi;
    const double ux = xmx * sinsu + cnod * cossu;
    const double uy = xmy * sinsu + snod * cossu;
    const double uz = sini * sinsu;
    const double vx = xmx * cossu - cnod * sinsu;
    const double vy = xmy * cossu - snod * sinsu;
    const double vz = sini * cossu;

    if (mrt < 1.0)
        return {StatusCode::Decayed, "satellite has decayed (radius below one Earth radius)"};
    const double rk = mrt * radiusEr;
    out.position[0] = rk * ux;
    out.position[1] = rk * uy;
    out.position[2] = rk * uz;
    out.velocity[0] = (mvt * ux + rvdot * vx) * vkmpersec;
    out.velocity[1] = (mvt * uy + rvdot * vy) * vkmpersec;
    out.velocity[2] = (mvt * uz + rvdot * vz) * vkmpersec;
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(out.position[i]) || !std::isfinite(out.velocity[i])) {
            out = StateVector{};
            return {StatusCode::NotConverged, "propagation gave no finite state"};
        }
    return Status::ok();
}

} // namespace orbit
