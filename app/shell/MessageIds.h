#pragma once
// Identifiers of the numbered texts the program reads from the text file (Text1033.xml,
// element QorAppMessages). Every id listed here must have a text there; the skin
// consistency test reads this header and checks it.

namespace msg {

// Application title, also the caption of every message box.
constexpr int kAppTitle = 102;

// Capture graph failures; the result code is the first format argument.
constexpr int kGraphRunFailed = 103;
constexpr int kVideoWindowFailed = 104;
constexpr int kGraphCreateFailed = 106;
constexpr int kCrossbarFailed = 107;
constexpr int kCaptureFilterFailed = 108;
constexpr int kFrontEndConnectFailed = 109;
constexpr int kDemuxAddFailed = 110;
constexpr int kMpeg1DemuxConnectFailed = 111;
constexpr int kSmartTeeAddFailed = 112;
constexpr int kSmartTeeConnectFailed = 113;
constexpr int kSmartTeePreviewMissing = 114;
constexpr int kSinkAddFailed = 116;
constexpr int kSinkConnectFailed = 117;
constexpr int kSinkNoFileInterface = 118;
constexpr int kSinkFileNameRefused = 119;
constexpr int kDemuxVideoPinFailed = 120;
constexpr int kDemuxVideoNoMap = 121;
constexpr int kDemuxVideoMapFailed = 122;
constexpr int kFallbackDecoderFailed = 123;
constexpr int kPreviewRenderFailed = 124;
constexpr int kDemuxAudioPinFailed = 126;
constexpr int kDemuxAudioNoMap = 127;
constexpr int kDemuxAudioMapFailed = 128;
constexpr int kCrossbarPinCounts = 136;
constexpr int kCrossbarPinInfo = 137;
constexpr int kCrossbarRoute = 138;
constexpr int kOverlayMixerFailed = 139;
constexpr int kPlaybackCaption = 141;
constexpr int kSkinLoadFailed = 144;
constexpr int kNoReferenceClock = 145;
constexpr int kInfTeeAddFailed = 146;
constexpr int kInfTeeConnectFailed = 147;
constexpr int kInfTeePreviewMissing = 148;
constexpr int kInfTeeCaptureMissing = 149;
constexpr int kVisibilityTestFailed = 170;
constexpr int kMpeg1DemuxAddFailed = 202;
constexpr int kWriterConnectFailed = 203;
constexpr int kWriterAddFailed = 204;
constexpr int kAboutVersion = 210;
constexpr int kLauncherChooseProgram = 226;
constexpr int kFlowControlFailed = 229;
constexpr int kCannotPlayFile = 230;

// Recording stopped by the writer.
constexpr int kWriteError = 231;
constexpr int kDiskFull = 232;
constexpr int kVolumeSizeLimit = 233;

// Quality templates.
constexpr int kTemplateNameInvalid = 254;
constexpr int kTemplateNameExists = 256;

// Recording, playback, snapshots, launchers.
constexpr int kCopyProtectedStopped = 1003;
constexpr int kCopyProtectedInput = 1004;
constexpr int kOpenFileTitle = 1006;
constexpr int kChooseProgramTitle = 1007;
constexpr int kLauncherEmptyTooltip = 1008;
constexpr int kDeviceErrorDetail = 1022;
constexpr int kSaveAsTitle = 1029;
constexpr int kAboutBuild = 1030;
constexpr int kLauncherIconFolder = 2244;
constexpr int kDropOneFile = 2248;
constexpr int kFrameDropWarning = 2249;
constexpr int kOpenFileFilter = 2254;
constexpr int kProgramFilter = 2255;
constexpr int kRecordingFilter = 2256;
constexpr int kReplaceRecording = 2258;
constexpr int kSnapshotFailed = 2259;
constexpr int kReplaceSnapshot = 2260;

// Input names (video source index 0 to 5) and devices.
constexpr int kSourceSVideo = 3002;
constexpr int kSourceComposite = 3003;
constexpr int kSourceComposite2 = 3004;
constexpr int kSourceTuner = 3005;
constexpr int kRemoteConfigured = 3006;
constexpr int kRemoteNotConfigured = 3007;
constexpr int kDeviceRemovedWhileRecording = 3008;
constexpr int kWaitingForDevice = 3009;
constexpr int kSourceSVideo2 = 3010;
constexpr int kSearchingSource = 3032;
constexpr int kAudioCompressorFailed = 3033;
constexpr int kDirectXTooOld = 3034;
constexpr int kDirectXDownloadQuestion = 3035;
constexpr int kDirectXDownloadAddress = 3036;
constexpr int kUpdateAvailable = 3039;
constexpr int kUpdateDownloadFailed = 3040;
constexpr int kUpdateChecking = 3041;
constexpr int kAudioFormatFailed = 3042;
constexpr int kSourceComponent = 3053;
constexpr int kRecordingRecovered = 3060;
constexpr int kFrameDropLowerRate = 3061;

// Every id above, for checks that need the whole set.
constexpr int kAll[] = {
    kAppTitle, kGraphRunFailed, kVideoWindowFailed, kGraphCreateFailed, kCrossbarFailed,
    kCaptureFilterFailed, kFrontEndConnectFailed, kDemuxAddFailed, kMpeg1DemuxConnectFailed,
    kSmartTeeAddFailed, kSmartTeeConnectFailed, kSmartTeePreviewMissing, kSinkAddFailed,
    kSinkConnectFailed, kSinkNoFileInterface, kSinkFileNameRefused, kDemuxVideoPinFailed,
    kDemuxVideoNoMap, kDemuxVideoMapFailed, kFallbackDecoderFailed, kPreviewRenderFailed,
    kDemuxAudioPinFailed, kDemuxAudioNoMap, kDemuxAudioMapFailed, kCrossbarPinCounts,
    kCrossbarPinInfo, kCrossbarRoute, kOverlayMixerFailed, kPlaybackCaption, kSkinLoadFailed,
    kNoReferenceClock, kInfTeeAddFailed, kInfTeeConnectFailed, kInfTeePreviewMissing,
    kInfTeeCaptureMissing, kVisibilityTestFailed, kMpeg1DemuxAddFailed, kWriterConnectFailed,
    kWriterAddFailed, kAboutVersion, kLauncherChooseProgram, kFlowControlFailed,
    kCannotPlayFile, kWriteError, kDiskFull, kVolumeSizeLimit, kTemplateNameInvalid,
    kTemplateNameExists, kCopyProtectedStopped, kCopyProtectedInput, kOpenFileTitle,
    kChooseProgramTitle, kLauncherEmptyTooltip, kDeviceErrorDetail, kSaveAsTitle, kAboutBuild,
    kLauncherIconFolder, kDropOneFile, kFrameDropWarning, kOpenFileFilter, kProgramFilter,
    kRecordingFilter, kReplaceRecording, kSnapshotFailed, kReplaceSnapshot, kSourceSVideo,
    kSourceComposite, kSourceComposite2, kSourceTuner, kRemoteConfigured, kRemoteNotConfigured,
    kDeviceRemovedWhileRecording, kWaitingForDevice, kSourceSVideo2, kSearchingSource,
    kAudioCompressorFailed, kDirectXTooOld, kDirectXDownloadQuestion, kDirectXDownloadAddress,
    kUpdateAvailable, kUpdateDownloadFailed, kUpdateChecking, kAudioFormatFailed,
    kSourceComponent,
    kRecordingRecovered, kFrameDropLowerRate,
};

}  // namespace msg
