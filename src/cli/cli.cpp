#include "cli/cli.h"

#include <ostream>

#include "cli/commands.h"
#include "cli/compare_options.h"
#include "cli/log_options.h"
#include "cli/network_options.h"
#include "cli/place_time_options.h"
#include "cli/reading_plan_options.h"
#include "cli/render_options.h"
#include "cli/rig_options.h"
#include "cli/sdr_options.h"

namespace fw::cli {

namespace {

using Command = int (*)(ArgList&, std::ostream&, std::ostream&);

struct CommandEntry {
    const char* name;
    Command run;
};

constexpr CommandEntry Commands[] = {
    {"curves", CmdCurves}, {"noise", CmdNoise},   {"render", CmdRender}, {"list", CmdList},
    {"enter", CmdEnter},   {"report", CmdReport}, {"rig", CmdRig},
    {"monitor", CmdMonitor}, {"log", CmdLog}, {"iq", CmdIq}, {"sdr", CmdSdr},
    {"network", CmdNetwork}, {"bearing", CmdBearing},
};

void PrintUsage(std::ostream& s) {
    s << "Usage: floorwatch-cli COMMAND [OPTIONS]\n"
         "\n"
         "Commands:\n"
         "  curves [--bandwidth TEXT] [--atmospheric PLACE TIME [--itu-data DIR]]\n"
         "      The reference noise curves as CSV on standard output: frequency in Hz, then\n"
         "      noise figure Fa and field strength E in dB(uV/m) of each environment. With\n"
         "      --atmospheric, also the ITU-R P.372 atmospheric noise of the place and time:\n"
         "      its Fa, upper and lower decile, and the same as E; empty above 30 MHz.\n"
         "  noise PLACE TIME --freq MHZ [--env city|residential|rural|quiet_rural]\n"
         "        [--itu-data DIR]\n"
         "      The noise after ITU-R P.372 at one frequency (MHz) as\n"
         "      a CSV header and one line: atmospheric FaA, DuA, DlA and the sigmas of Fam,\n"
         "      Du and Dl (empty outside 0.01-30 MHz); man-made FaM, DuM, DlM of the\n"
         "      environment (default rural); galactic FaG, DuG, DlG; their total FamT, DuT,\n"
         "      DlT. All in dB, Fa above kT0b.\n"
         "  render [render options] --output FILE\n"
         "      Renders the diagram as the window shows it and saves it as FILE; the\n"
         "      extension (.bmp, .png or .jpg) chooses the format.\n"
         "  list FILE [--save OUT]\n"
         "      Loads the USER data file FILE as \"Load USER Data\" does and prints the list\n"
         "      box's lines; with --save, writes the list to OUT as \"Save USER Data\" does.\n"
         "      FILE may have a point or a comma as decimal separator; what is printed\n"
         "      and written follows the regional one.\n"
         "  enter [entry options] [--append FILE [--locator TEXT] [--datetime TEXT]]\n"
         "      Adds one measurement as the \"ENTER\" button does and prints the six\n"
         "      diagnostic lines and the new row as the list box shows it. With --append,\n"
         "      loads FILE (or starts an empty list where it does not exist), appends the\n"
         "      row and saves FILE; --locator and --datetime set its texts.\n"
         "  report [render options] (--pdf OUT | --printer NAME)\n"
         "      Builds the A4 noise report as the print window does, with the diagram,\n"
         "      the --data file's measurements (13 rows on page 1, 45 on each further\n"
         "      page) and today's date, and writes all its pages as the PDF file OUT or\n"
         "      prints them on the installed printer NAME.\n"
         "  rig read RIG [--band B | --freq MHZ] [reading plan] [--append FILE]\n"
         "      Reads the rig's S-meter (the median of --samples samples in dB over S9) and\n"
         "      prints the row of an antenna-voltage entry of 20*log10(50) + median dBuV, as\n"
         "      the list box shows it. With --band or --freq (0.01 to 300 MHz) the rig is\n"
         "      tuned there first (mode LSB below 10 MHz, USB above, AM on LW and MW), given\n"
         "      --settle ms and put back afterwards; without, it is read where it is tuned\n"
         "      and the row has its frequency. --append adds the row to FILE as enter\n"
         "      --append does.\n"
         "  rig sweep RIG [--bands B,B,...] [reading plan] [--append FILE]\n"
         "      The same on every band given (default all thirteen), one row per band; the\n"
         "      rig's frequency and mode are put back afterwards, also after an error or\n"
         "      Ctrl-C. A sweep that stops part-way keeps (and appends) the rows taken.\n"
         "  rig models\n"
         "      Hamlib's rig models: number, manufacturer, model, driver status.\n"
         "  monitor (RIG | SDR) [--log FILE] [--bands B,...] [--every SECONDS]\n"
         "          [--count N | --for DURATION] [--until T] [reading plan] [--locator TEXT]\n"
         "      Sweeps the bands (default all thirteen) every SECONDS (default 600, from the\n"
         "      start of one sweep to the start of the next) into the station log, for N\n"
         "      sweeps, for DURATION (3600, 90m, 8h, 1d12h), until the UTC time T\n"
         "      (YYYY-MM-DDTHH:MM; no sweep starts from then on) or until Ctrl-C or SIGTERM,\n"
         "      which finish the reading in hand and exit 0. Prints each reading with its UTC\n"
         "      time as the list box shows it; a band that cannot be read is logged as a gap\n"
         "      and the rig is reconnected. After each sweep a line \"sweep N: B bands, G gaps,\n"
         "      next at HH:MM:SSZ\" goes to standard error, at the end the counts and span.\n"
         "      A log that another program holds locked delays the entry in hand, which is\n"
         "      written when the log is free. --locator (a Maidenhead locator) is logged with\n"
         "      every reading. With an SDR (and the reading plan without --samples and\n"
         "      --settle) each reading is the antenna-power row of sdr read, logged with the\n"
         "      source \"sdr\" and the device's label; N0, K and the occupancy go to\n"
         "      standard error, and a device that goes is a gap and opened again for the\n"
         "      next band or sweep. With --upload CONNINFO --station CALLSIGN the log is\n"
         "      uploaded as network upload does after each sweep, in the background; the\n"
         "      summary says what is still to send.\n"
         "  sdr devices\n"
         "      The receivers SoapySDR finds: driver, label, serial, one per line.\n"
         "  sdr read SDR (--band B | --freq MHZ) [--gain G] [--bandwidth HZ]\n"
         "           [--calibration B=DB;...] [--append FILE]\n"
         "      Tunes the SDR there, drops 100 ms, captures --seconds of samples and prints\n"
         "      the row of an antenna-power entry of their noise density, as iq noise does;\n"
         "      N0, K, the occupancy, the noise's signature and any overflows or timeouts go\n"
         "      to standard error. A device that cannot be opened or stops delivering is\n"
         "      \"SDR not available\".\n"
         "  sdr sweep SDR [--bands B,B,...] [same options]\n"
         "      The same on every band given (default all thirteen), one row per band.\n"
         "  sdr signature SDR (--band B | --freq MHZ) [--format text|csv]\n"
         "      What kind of noise a capture there holds, as iq signature tells it.\n"
         "  bearing scan (RIG | SDR) --rotator HOST[:PORT] [--from DEG] [--to DEG]\n"
         "               [--step DEG] (--band B | --freq MHZ) [reading plan] [--log FILE]\n"
         "               [--format text|csv]\n"
         "      Turns the rotator behind rotctld (default port 4533) from --from to --to\n"
         "      (default 0 to 350, across north where --to is the smaller) every --step\n"
         "      degrees (default 10), waits until it reports each bearing within 2 degrees,\n"
         "      and reads the rig's S-meter or the SDR's noise density there; prints each\n"
         "      bearing's level (CSV: azimuth_deg,level_db) and the strongest and weakest\n"
         "      direction. The rotator is turned back to where it was at the end and on\n"
         "      Ctrl-C, SIGTERM or SIGHUP (a second one leaves it and says where it is);\n"
         "      the rig's tuning is put back as after a sweep. --log keeps the scan (its\n"
         "      bearings, levels and estimate) in the station log FILE.\n"
         "  iq noise FILE [--freq MHZ] [--ref DBM] [--gain G] [--bandwidth HZ]\n"
         "           [--calibration B=DB;...] [--append FILE] [--spectrum CSV]\n"
         "           [--allow-overload]\n"
         "      The noise density of an IQ recording (a two-channel WAV file of 16-bit\n"
         "      integers or 32-bit floats, or a SigMF recording of cf32_le, ci16_le or cu8,\n"
         "      named by its .sigmf-meta, .sigmf-data or their base name) by the 20 % method\n"
         "      over the central 80 % of its span, and the row of an antenna-power entry of\n"
         "      10*log10(N0 * bandwidth) + REF (dBm that read 0 dBFS, default 0) + the band's\n"
         "      calibration, at the recording's centre frequency (--freq sets or overrides\n"
         "      it). N0, the number of spectra K, the occupancy and the signature go to\n"
         "      standard error; --spectrum writes freq_hz,density_dbfs_hz of every used bin\n"
         "      to CSV. More than 1 in 100000 samples at full scale is refused as an\n"
         "      overload; --allow-overload prints that figure anyway, marked OVERLOADED.\n"
         "  iq signature FILE [--freq MHZ] [--format text|csv]\n"
         "      The noise's signature (of the first 4194304 samples): the voltage deviation\n"
         "      Vd = 20*log10(rms / mean envelope) of the used span with the bins more than\n"
         "      10 dB above N0 notched (1.05 dB for Gaussian noise), the percentage of time\n"
         "      the envelope exceeds N0 + 0, 5, 10, 15, 20 dB, the rate of bursts (the\n"
         "      envelope's strongest line from 10 Hz to 1 kHz, 10 dB above its median), a\n"
         "      comb (5 or more lines 10 dB above N0 one spacing apart), the class gaussian,\n"
         "      impulsive, comb or impulsive+comb, and a hint at what such noise often is.\n"
         "      csv: vd_db,burst_rate_hz,comb_spacing_khz,comb_lines,class and the APD in %.\n"
         "      A SigMF recording of several captures gives one signature per capture.\n"
         "  log export [--log FILE] --format csv|databank|gaps [--from T] [--to T]\n"
         "             [--output FILE]\n"
         "      csv: one line per reading; databank: one line per band with the median noise\n"
         "      factor Fa in dB of each UTC hour h00..h23; gaps: one line per band that\n"
         "      could not be read. CSV after RFC 4180 with a point as decimal separator, on\n"
         "      standard output or written whole to FILE.\n"
         "  log to-list [--log FILE] [--from T] [--to T] [--bandwidth HZ] --save USERFILE\n"
         "      Each band's median field strength with its levels as one row of a USER data\n"
         "      file, every reading first converted to the bandwidth HZ (default: the one\n"
         "      most of the band's readings were taken with; a tie takes the larger); the\n"
         "      locator comes from the log, the date/time is the span's end.\n"
         "  log info [--log FILE] [--from T] [--to T]\n"
         "      The log's file, schema version, first and last reading, and per band the\n"
         "      number of readings and gaps with the time of the first and the last.\n"
         "  log compare [--log FILE] --before T1/T2 --after T3/T4 [--bands B,...]\n"
         "              [--hours H1-H2] [--format text|csv]\n"
         "      Each band's noise factor Fa after a change against before it, over days:\n"
         "      one median per UTC clock hour, one median of those per day (the window of\n"
         "      --hours that starts on the date; half its hours needed), the days' counts\n"
         "      and medians, the shift (Hodges-Lehmann, after - before) with its 95 %\n"
         "      confidence interval, the two-sided Mann-Whitney p-value (5 days needed on\n"
         "      each side) and whether the receiver or its calibration changed. Overlapping\n"
         "      spans and a span without readings are refused. text: an aligned table, one\n"
         "      line per band and what the numbers mean; csv: band,freq_mhz,days_before,\n"
         "      days_after,median_before_db,median_after_db,shift_db,ci_low_db,ci_high_db,\n"
         "      p_value,receiver_changed.\n"
         "  log station [--log FILE] [--callsign C] [--operator NAME] [--address TEXT]\n"
         "              [--antenna TEXT] [--notes TEXT]\n"
         "      Sets the station's details kept in the log (an empty TEXT clears one) and\n"
         "      prints them; without options only prints them. Every report names them.\n"
         "  log report [--log FILE] [--from T] [--to T] [--before T1/T2 --after T3/T4]\n"
         "             [--hours H1-H2] [--server CONNINFO [--station C] [--radius KM]]\n"
         "             (--pdf OUT | --printer NAME)\n"
         "      The campaign report on A4: a summary (the station, the log file's name,\n"
         "      SHA-256 and integrity check; per span the dates, readings, receivers, days\n"
         "      and hours with data and gaps per band; per band the hourly Fa's median and\n"
         "      deciles, and the atmospheric Fa of each month), per band vector charts of Fa\n"
         "      by day and by hour of the day, the comparison of --before and --after, with\n"
         "      --server each band's 24-hour profile beside the network's neighbours within\n"
         "      KM (default 200) of the station C (default the log's callsign), the gaps and\n"
         "      a page on the method. Written as the PDF file OUT or printed on the\n"
         "      installed printer NAME.\n"
         "  network init --server CONNINFO\n"
         "      Creates or brings up to date the network's tables on the association's\n"
         "      PostgreSQL server and prints their schema version; run by its administrator.\n"
         "  network add-station --server CONNINFO CALLSIGN --locator LOC [--role NAME]\n"
         "      Adds a station and its login role (default: the callsign in lower case),\n"
         "      which may upload only the station's own readings; everyone reads all.\n"
         "  network stations --server CONNINFO [--format text|csv]\n"
         "      The stations: callsign, locator, readings, first and last reading, last upload.\n"
         "  network upload --server CONNINFO --log FILE --station CALLSIGN [--batch N]\n"
         "      Sends the log's readings and gaps that the server lacks, in batches of N\n"
         "      (default 5000) in one transaction each, and prints \"uploaded N readings and M gaps (K already\n"
         "      there)\"; stopped or cut off, run it again. The log is only read.\n"
         "  network compare --server CONNINFO --station CALLSIGN --band B --from T --to T\n"
         "                  [--radius KM] [--hours H1-H2] [--format text|csv]\n"
         "      Per UTC hour of the day the station's Fa (the median of its hourly values)\n"
         "      against its neighbours' within KM (default 200) between locator centres:\n"
         "      hour,own_fa_db,others_fa_db,difference_db,stations, and where it stands out.\n"
         "  network map --server CONNINFO --band B --from T --to T [--hours H1-H2]\n"
         "              (--csv FILE | --png FILE)\n"
         "      Per 4-character locator square the median over its stations of each one's\n"
         "      median hourly Fa: square,lat,lon,stations,median_fa_db, or as a map.\n"
         "\n"
         "RIG (for rig read, rig sweep, monitor and bearing scan):\n"
      << RigOptionsHelp
      << "\n"
         "Reading plan (for rig read, rig sweep, monitor and bearing scan):\n"
      << ReadingPlanOptionsHelp()
      << "\n"
         "SDR (for sdr read, sdr sweep, sdr signature, monitor and bearing scan):\n"
      << SdrOptionsHelp
      << "\n"
         "Station log (for monitor and log):\n"
      << LogOptionsHelp
      << CompareOptionsHelp
      << "\n"
         "Network (for network):\n"
      << NetworkOptionsHelp
      << "\n"
         "Entry options (unset ones keep the window's start-up texts):\n"
         "  --method TAG       S-Val, AntVol, AntPwr or Field (default S-Val)\n"
         "  --band TEXT        ham band: LW, MW, 160m, 80m, 40m, 30m, 20m, 17m, 15m, 12m, 10m,\n"
         "                     6m, 2m (default 80m)\n"
         "  --freq TEXT        a free frequency in MHz, 0.01 to 300 (ticks \"Frequency Mode\")\n"
         "  --svalue TEXT      S-meter reading S1 .. S9, S9+10 .. S9+40 (default S9)\n"
         "  --gain TEXT        antenna gain in dBi, -60 to 60 (default 2.15)\n"
         "  --power TEXT       antenna power in dBm\n"
         "  --voltage TEXT     antenna voltage in dBuV\n"
         "  --field TEXT       field strength in dBuV/m\n"
         "  --bandwidth TEXT   receiver bandwidth in Hz (default 2700)\n"
         "\n"
         "PLACE and TIME (for noise and curves --atmospheric):\n"
         "  PLACE is --locator TEXT or --lat DEG --lon DEG; TIME is --datetime TEXT or\n"
         "  --month M --utc-hour H.\n"
      << PlaceTimeOptionsHelp << ItuDataOptionHelp
      << "\n"
         "Render options:\n"
      << RenderOptionsHelp << ItuDataOptionHelp
      << "\n"
         "  --help             show this text\n"
         "\n"
         "Numbers on the command line take a point or a comma as decimal separator.\n"
         "\n"
         "Exit status: 0 success, 1 the input was refused (message on standard error),\n"
         "2 a usage error.\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return ExitUsage;
    }
    // Help counts where it stands as an option, not as an option's value.
    ArgList rest(std::vector<std::string>(args.begin() + 1, args.end()));
    const bool help = rest.takeFlag(HelpOption) | rest.takeFlag(ShortHelpOption);
    if (help || args.front() == HelpOption || args.front() == ShortHelpOption) {
        PrintUsage(out);
        return ExitOk;
    }
    try {
        for (const CommandEntry& c : Commands) {
            if (args.front() == c.name) return c.run(rest, out, err);
        }
        throw UsageError("unknown command: " + args.front());
    } catch (const UsageError& e) {
        err << "floorwatch-cli: " << e.what() << "\n\n";
        PrintUsage(err);
        return ExitUsage;
    } catch (const Refusal& e) {
        err << e.what() << '\n';
        return ExitRefused;
    }
}

}  // namespace fw::cli
