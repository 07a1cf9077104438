#include "campaign/campaign_pages.h"
#include "campaign/campaign_report.h"

namespace fw {

void AddMethodPage(CampaignLayout& l, const CampaignData& data) {
    l.newPage();
    l.heading(std::string(CampaignMethodHeading));
    l.paragraph(
        "Readings. Each reading is one noise level logged with its UTC time, band, frequency, "
        "receiver bandwidth, antenna gain and the receiver that took it. A reading from a rig's "
        "S-meter is the median of several samples taken after the rig has settled on the band, "
        "with the band's calibration offset added where one is set. A reading from an SDR is "
        "the noise density of the band, estimated from a spectrum as the level that the lowest "
        "part of its frequency bins reach, which transmissions do not lift. Typed readings "
        "were entered by hand.");
    l.paragraph(
        "Noise factor. Each reading is converted to the field strength E in dB(uV/m) with the "
        "antenna gain and the wavelength, taking S9 as 50 uV at 50 ohms and 6 dB per S-unit. The "
        "noise factor Fa in dB above kT0b is Fa = E - 20 log10(f/MHz) - 10 log10(B/Hz) + 98.9. "
        "The constant 98.9 dB is this program's reference: the field strength that a "
        "half-wave dipole receives of a noise factor Fa. ITU-R P.372 writes the relation for a "
        "short vertical monopole above a perfect ground, with 95.5 dB; an absolute Fa from "
        "another tool that uses the monopole form therefore lies 3.4 dB lower for the same "
        "field strength. Fa does not depend on the bandwidth B, so readings in different "
        "bandwidths compare, and every chart of this report shows Fa.");
    const std::string hours =
        data.hours.wholeDay() ? std::string("all 24 hours")
                              : "only the hours " + HourRangeText(data.hours);
    l.paragraph(
        "Hours and days. Readings minutes apart are not independent, and neither are the hours "
        "of one evening: propagation, the weather and the neighbours' habits move them "
        "together. Each band's readings are therefore first reduced to one value per UTC clock "
        "hour, the median of that hour's readings (with an even count, the mean of the two "
        "middle values), and the hourly values to one value per day, the median of the day's "
        "hourly values. This report counts " + hours + " of each day; a day's window starts on "
        "the UTC date of its first chosen hour (with 22-02 the hours 00 to 02 belong to the "
        "day before), and a day with fewer than half of its window's hours (rounded up) is left "
        "out. The charts grey the hours that are not counted.");
    l.paragraph(
        "Comparison. The day is the unit: the shift between two spans is the Hodges-Lehmann "
        "estimate, the median of all M = nb na differences between a day's value after and one "
        "before the change, for nb days before and na after. Its 95 % confidence interval runs "
        "from the k-th to the (M+1-k)-th of the sorted differences, with k = floor(M/2 - "
        "1.959964 sqrt(nb na (nb + na + 1) / 12)), at least 1. The p-value is that of the "
        "two-sided Mann-Whitney U test in its normal approximation, with the variance "
        "corrected for tied values and a continuity correction of 1/2. p is the chance of "
        "values at least this far apart if nothing had changed; it is not the chance that "
        "nothing changed, and it says nothing of the size of a change, which the shift and its "
        "interval give. A band needs 5 days on each side for these figures.");
    l.paragraph(
        "What the statistics do not contain. The interval covers only the day-to-day scatter "
        "of the noise. It does not contain the receiver's calibration (an S-meter is seldom "
        "better than a few dB, an SDR's reference level as good as its calibration), the "
        "antenna's gain and its surroundings, the cable's loss, nor a change of the receiver "
        "or antenna between the spans: a shift is a change of the noise only if the "
        "equipment listed for both spans on the summary is the same.");
}

}  // namespace fw
