#pragma once
// The exit statuses of the programs, for scripts that run them. The command
// line tool's help and manual page list them.

namespace flow {

enum TExitCode : int {
    EC_OK = 0,
    EC_FAILED = 1,          // none of the reasons below
    EC_USAGE = 2,           // unknown option, missing or malformed argument
    EC_PORT = 3,            // the port cannot be opened
    EC_NO_LINK = 4,         // the instrument does not answer, or answers garbled
    EC_REFUSED = 5,         // the instrument refused the request
    EC_BAD_FILE = 6,        // a file to read is missing, damaged or not for this program
    EC_WRITE_CHECK = 7,     // a file could not be written, or its check failed
    EC_MODEL_MISMATCH = 8,  // settings of another model: nothing was written
    EC_READ_BACK = 9,       // written, but the settings read back differ
    EC_OUTPUT = 10,         // the standard output or the transcript was not written in full
    EC_LOGBOOK = 11,        // the logbook cannot be used (damaged, newer, or not built)
    EC_NOT_CONFIRMED = 12,  // a change to the instrument was not confirmed: nothing changed
    EC_UNKNOWN_MODEL = 13,  // the instrument's model is unknown: nothing was written
    EC_CHANGED = 14,        // the instrument's settings changed after the question: none written
};

struct TExitCodeText {
    TExitCode code;
    const char* meaning;
};

// In the order of the codes; the help of tolmarik-cli prints it.
inline constexpr TExitCodeText kExitCodeTexts[] = {
    {EC_OK, "success"},
    {EC_FAILED, "other failure (e.g. the flight has no track)"},
    {EC_USAGE, "usage error: unknown command or option, bad argument"},
    {EC_PORT, "the port cannot be opened"},
    {EC_NO_LINK, "no link: the instrument does not answer or its reply is garbled"},
    {EC_REFUSED, "the instrument refused the request"},
    {EC_BAD_FILE, "bad input file: missing, damaged, or for a model this program lacks"},
    {EC_WRITE_CHECK, "an output file could not be written or failed its check"},
    {EC_MODEL_MISMATCH, "the settings are for another model than the instrument's; none written"},
    {EC_READ_BACK, "the settings read back after a write differ from those written"},
    {EC_OUTPUT, "the standard output or the transcript could not be written in full"},
    {EC_LOGBOOK, "the logbook cannot be used: damaged, from a newer version, or not built in"},
    {EC_NOT_CONFIRMED,
     "a change to the instrument was not confirmed (answered no, or no terminal to ask and no "
     "--yes); nothing was changed"},
    {EC_UNKNOWN_MODEL,
     "the instrument's model is unknown to this program: it is read, never written to"},
    {EC_CHANGED,
     "the instrument's settings changed while the question was open; nothing was written"},
};

}  // namespace flow
