#pragma once
// The program's private window messages. Every tool window and worker thread
// talks to the frame window through one posted message, PWM_COMMAND, whose
// wParam is a PelidoreCommand. Kept free of Windows headers so that the
// portable rules and their tests can use the numbers too.

namespace pelidore {

constexpr unsigned int PWM_COMMAND = 2024;   // WM_USER + 1000; wParam = PelidoreCommand, lParam = argument
constexpr unsigned int PWM_LOCK_DONE = 2025; // ends a lock window's modal loop; wParam 1 = OK, 0 = Cancel
constexpr unsigned int PWM_READOUT = 2026;   // to the control panel: wParam = elapsed seconds, lParam = bytes written
// Sent (not posted) to the frame by scripts in other processes: the result
// is a PelidoreState bit set. Answered on the UI thread, so the bits also say
// whether commands posted earlier are still waiting in the frame's queue.
constexpr unsigned int PWM_QUERY_STATE = 2027;

enum PelidoreState : unsigned int {
    STATE_ANSWERED = 0x100, // always set: a frame that answers at all is up and running
    STATE_RECORDING = 0x1,
    STATE_SAVING = 0x2,
    STATE_COMMANDS_PENDING = 0x4,
    STATE_PAUSED = 0x8,         // recording, and paused
    STATE_COUNTING_DOWN = 0x10, // a start waits for its countdown
    STATE_REVIEWING = 0x20,     // a stopped recording waits in the Review window for Save or Discard
};

enum PelidoreCommand : unsigned int {
    CMD_TOGGLE_RECORDING = 1, // lParam: a RecordingRequest
    CMD_TOGGLE_SETUP = 2,
    CMD_SNAPSHOT = 3,
    CMD_MINIMIZE = 4,
    CMD_TOGGLE_ABOUT = 5,
    CMD_TOGGLE_LOGO = 6,
    CMD_OPEN_WORK_FOLDER = 7,
    CMD_QUALITY_CHANGED = 8,
    CMD_SAVE_PROGRESS = 9, // lParam = frames done
    CMD_SAVE_FINISHED = 10,
    CMD_CANCEL_SAVING = 11,
    // The panel's time or size lock changed; a recording under way takes the
    // new TimeLimit() / SizeLimit() (the capture thread tests its own copy).
    CMD_LOCKS_CHANGED = 12,
    CMD_PAUSE = 13, // lParam: a PauseRequest; ignored unless recording
    // The Options window's button in the Setup window.
    CMD_TOGGLE_OPTIONS = 14,
    // An option changed and options.ini was written (or could not be): the
    // frame takes the Options window's GetOptions() again.
    CMD_OPTIONS_CHANGED = 15,
    // A hotkey field of the Options window started or stopped listening for
    // a combination (lParam 1 or 0): while one listens the frame lets go of
    // its global hotkeys, which would otherwise swallow the keys pressed.
    CMD_HOTKEY_LISTENING = 16,
    // From the capture thread: the output could not be written (a full disk);
    // the recording stops with what it holds and the panel says why.
    CMD_WRITE_FAILED = 17,
    // A save that must fit a size starts a pass that gives up what the save
    // thread's FitFps and FitScale say.
    CMD_SAVE_FIT = 40,
    // The Review window's Save: the kept frames go to the GIF.
    CMD_REVIEW_SAVE = 41,
    // The Review window's Discard, once confirmed there: the recording goes
    // without a GIF.
    CMD_REVIEW_DISCARD = 42,
    // From scripts: the marks of the recording under review, and a range to
    // delete. lParam = (first << 32) | last, frames counted from 1; the frame
    // applies them to the review's model and refreshes the window.
    CMD_REVIEW_RANGE = 43,
    CMD_REVIEW_DELETE = 44,
};

// lParam of CMD_TOGGLE_RECORDING. A request that says which way it goes is
// harmless when it arrives late: a stop after the recording has ended (the
// capture thread's lock report, a double click) does not start a new one.
enum RecordingRequest : long {
    RECORD_STOP = 0,   // the panel's stop button, pelictl stop, a reached lock
    RECORD_START = 1,  // the panel's record button, pelictl start
    RECORD_TOGGLE = 2, // anything else toggles
};

// lParam of CMD_PAUSE.
enum PauseRequest : long {
    PAUSE_OFF = 0,    // resume
    PAUSE_ON = 1,     // pause
    PAUSE_TOGGLE = 2, // the pause hotkey
};

} // namespace pelidore
