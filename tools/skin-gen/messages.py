"""Wording of the numbered texts (QorAppMessages of the text file). A text may hold a
user part and a log part separated by "|"; graph failures take the result code as their
first format argument."""

_GRAPH = "Marovin could not start the live picture.\\nPlease check that the capture device is connected."


def _graph(log):
    return f"{_GRAPH}|{log} (hr=0x%08X)"


MESSAGES = {
    102: "Marovin",
    103: _graph("Capture graph: running the graph failed"),
    104: _graph("Capture graph: the video window could not be set up"),
    106: _graph("Capture graph: the filter graph could not be created"),
    107: _graph("Capture graph: the crossbar filter could not be added"),
    108: "Marovin could not open the capture device.\\nIt may be in use by another program or "
         "disconnected.|Capture graph: the capture filter could not be added (hr=0x%08X)",
    109: _graph("Capture graph: the crossbar could not be connected to the capture filter"),
    110: _graph("Capture graph: the MPEG-2 demultiplexer could not be added"),
    111: _graph("Capture graph: the stream could not be connected to the MPEG-1 demultiplexer"),
    112: _graph("Capture graph: the smart tee could not be added"),
    113: _graph("Capture graph: the smart tee could not be connected"),
    114: _graph("Capture graph: the smart tee has no preview output"),
    116: "Marovin could not start the recording.|Capture graph: the file sink could not be "
         "added (hr=0x%08X)",
    117: "Marovin could not start the recording.|Capture graph: the file sink could not be "
         "connected (hr=0x%08X)",
    118: "Marovin could not start the recording.|Capture graph: the file sink has no file "
         "interface (hr=0x%08X)",
    119: "Marovin could not create the recording file.\\nPlease check the recording folder."
         "|Capture graph: the file sink refused the file name (hr=0x%08X)",
    120: _graph("Capture graph: the demultiplexer's video pin could not be created"),
    121: _graph("Capture graph: the video pin has no stream-id map"),
    122: _graph("Capture graph: mapping video stream id 224 failed"),
    123: "Marovin found no video decoder that can show the picture.|Capture graph: the "
         "fallback decoder could not be added (hr=0x%08X)",
    124: _graph("Capture graph: the preview could not be rendered"),
    126: _graph("Capture graph: the demultiplexer's audio pin could not be created"),
    127: _graph("Capture graph: the audio pin has no stream-id map"),
    128: _graph("Capture graph: mapping the audio stream id failed"),
    136: "|Crossbar: the pin counts could not be read (hr=0x%08X)",
    137: "|Crossbar: the pin information could not be read (hr=0x%08X)",
    138: "This input cannot be selected on the capture device.|Crossbar: no output can be "
         "routed to the chosen input (hr=0x%08X)",
    139: _graph("Capture graph: the overlay mixer could not be added"),
    141: "Playback",
    144: "Marovin could not load its skin. Please reinstall Marovin.",
    145: "|Capture graph: no reference clock found (hr=0x%08X)",
    146: _graph("Capture graph: the infinite pin tee could not be added"),
    147: _graph("Capture graph: the infinite pin tee could not be connected"),
    148: _graph("Capture graph: the infinite pin tee has no preview output"),
    149: "Marovin could not start the recording.|Capture graph: the tee has no capture output "
         "(hr=0x%08X)",
    170: "An unexpected error occurred while opening the file (0x%08X).",
    202: _graph("Capture graph: the MPEG-1 demultiplexer could not be added"),
    203: "Marovin could not start the recording.|Capture graph: the file writer could not be "
         "connected (hr=0x%08X)",
    204: "Marovin could not start the recording.|Capture graph: the file writer could not be "
         "added (hr=0x%08X)",
    210: "Marovin version",
    226: "No program is assigned to this button (%s).\\nDo you want to choose one?",
    229: _graph("Capture graph: the flow-control filter could not be added"),
    230: "Marovin cannot play the file\\n%s",
    231: "The recording was stopped because the file could not be written.\\nPlease check the "
         "disk.|Writer: write error (hr=0x%08X)",
    232: "The recording was stopped because the disk is full.|Writer: disk full (hr=0x%08X)",
    233: "The recording was stopped because the file reached the largest size this disk "
         "allows (4 GB).|Writer: volume file-size limit reached (hr=0x%08X)",
    254: "Please enter a template name without \\, / or ; and no longer than 248 characters.",
    256: "A template with this name already exists. Please choose another name.",
    1003: "The recording was stopped because the picture is copy protected.",
    1004: "This picture is copy protected and cannot be recorded.",
    1006: "Open a Media File",
    1007: "Choose a Program",
    1008: "Click to choose a program",
    1022: "The capture device reported an error (0x%08X).",
    1029: "Save As",
    1030: "Build",
    2244: "Skins\\Skin",
    2248: "Please drop one file at a time.",
    2249: "The encoder dropped frames because the recording bit rate is too high for this "
          "computer.",
    2254: "Media Files (*.mpg;*.mpeg;*.m1v;*.m2v;*.mpa;*.wav;*.avi)|*.mpg;*.mpeg;*.m1v;*.m2v;"
          "*.mpa;*.wav;*.avi|MPEG Files (*.mpg;*.mpeg)|*.mpg;*.mpeg|All Files (*.*)|*.*||",
    2255: "Programs (*.exe)|*.exe||",
    2256: "MPEG Files (*.mpg)|*.mpg|All Files (*.*)|*.*||",
    2258: "A recording with this name already exists.\\nDo you want to replace it?",
    2259: "A snapshot can be taken only while a picture is shown.",
    2260: "A file with this name already exists.\\nDo you want to replace it?",
    3002: "S-Video",
    3003: "Composite",
    3004: "Composite 2",
    3005: "TV Tuner",
    3006: "Remote control is ready",
    3007: "Remote control is not set up",
    3008: "%s \"%s\" was removed. The recording has been stopped.",
    3009: "%s \"%s\" was removed.\\nPlug it in again; the picture returns by itself.",
    3010: "S-Video 2",
    3032: "Searching for a signal on: ",
    3033: _graph("Capture graph: the audio compressor could not be connected"),
    3034: "Marovin needs DirectX 9 or later.",
    3035: "Do you want to download DirectX now?",
    3036: "https://www.microsoft.com/download/details.aspx?id=35",
    3039: "A newer version of Marovin is available.\\nDo you want to download it now?",
    3040: "The update information could not be downloaded. Please try again later.",
    3041: "Checking for a newer version...",
    3042: "|Capture graph: the audio compressor format could not be set (hr=0x%08X)",
    3053: "Component",
}
