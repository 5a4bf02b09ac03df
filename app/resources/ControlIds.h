#pragma once
// Dialog and control identifiers shared by the dialog templates, the code, the skin
// graphics file (Graphics1033.xml) and the text file (Text1033.xml). The numbers are the keys
// that join the three: change one only together with the skin and the text file
// (tools/skin-gen rebuilds both from this header).

// Dialog templates.
#define IDD_ABOUT                 100
#define IDD_MAIN_DIALOG           130
#define IDD_DETECT_SOURCE         246
#define IDD_FRAME_DROP_WARN       389
#define IDD_SAVE_BITMAP           391
#define IDD_SAP_CONFIG            393
#define IDD_PREVIEW_WAIT_RECON    394
#define IDD_TIMED_PROMPT          395
#define IDD_CONFIG_RC             396
#define IDD_UPDATE                397
#define IDD_UPDATE_ON_START       398
#define IDD_CUSTOM_TEMPLATE       399

// Main window: the face.
#define IDC_VIDEO_AREA            1000
#define IDC_POSITION_SLIDER       1003
#define IDC_OPEN_FILE             1004
#define IDC_SEEK_START            1008
#define IDC_STEP_FORWARD          1009
#define IDC_HELP_BUTTON           1010
#define IDC_STEP_BACK             1011
#define IDC_SEEK_END              1012
#define IDC_ABOUT_BUTTON          1013
#define IDC_RECORD                1014
#define IDC_VOLUME_SLIDER         1016
#define IDC_PLAY                  1020
#define IDC_MUTE                  1041
#define IDC_MINIMIZE              1042
#define IDC_CLOSE                 1043
#define IDC_STATUS_DISPLAY        1046
#define IDC_FULL_SCREEN           1057
#define IDC_LAUNCHER_1            1135
#define IDC_LAUNCHER_2            1136
#define IDC_LAUNCHER_3            1137
#define IDC_LAUNCHER_4            1138
#define IDC_LAUNCHER_5            1139
#define IDC_LAUNCHER_6            1140
#define IDC_LAUNCHER_7            1141
#define IDC_LAUNCHER_8            1142
#define IDC_VIDEO_ADJUSTER        1181
#define IDC_VIDEO_PLACEMENT       1182
#define IDC_SNAPSHOT              1188
#define IDC_PREVIEW_ON            1194
#define IDC_PREVIEW_OFF           1266
#define IDC_LOOP                  1336
#define IDC_NO_VIDEO_LABEL        1338
#define IDC_SCAN_INPUTS           1345
#define IDC_TAB_CAPTURE           1401
#define IDC_TAB_RECORDING         1402
#define IDC_TAB_TV                1403
#define IDC_TAB_COLOR             1404
#define IDC_RECENT_1              1426
#define IDC_RECENT_2              1427
#define IDC_RECENT_3              1428
#define IDC_RECENT_4              1429
#define IDC_APPLY                 1464
#define IDC_INPUT_LABEL           1500
#define IDC_INPUT_LIST            1501
#define IDC_FILE_NAME             1502
#define IDC_WRITTEN_SIZE          1503
#define IDC_ELAPSED_CLOCK         1504
#define IDC_COUNTDOWN_CLOCK       1505
#define IDC_RECORDING_TIME        1506
#define IDC_COUNTDOWN_LABEL       1507
#define IDC_RECENT_LABEL          1508
#define IDC_NO_RECENT_LABEL       1509
#define IDC_LAUNCHER_LABEL        1510
#define IDC_FILE_LABEL            1511

// Main window: settings page 0, recording quality.
#define IDC_QUALITY_LABEL         1520
#define IDC_MODE_VCD              1521
#define IDC_MODE_MPEG1_LOW        1522
#define IDC_MODE_MPEG1_NORMAL     1523
#define IDC_MODE_SVCD             1524
#define IDC_MODE_DVD              1525
#define IDC_MODE_CUSTOM           1526
#define IDC_DVD_BITRATE_LABEL     1527
#define IDC_DVD_BITRATE           1528
#define IDC_TEMPLATE_LABEL        1529
#define IDC_TEMPLATE_LIST         1530
#define IDC_TEMPLATE_NEW          1531
#define IDC_TEMPLATE_DELETE       1532
#define IDC_TEMPLATE_DESC_1       1533
#define IDC_TEMPLATE_DESC_2       1534
#define IDC_TEMPLATE_DESC_3       1535
#define IDC_DEVICE_PROPERTIES     1536

// Main window: settings page 1, recording.
#define IDC_FOLDER_LABEL          1550
#define IDC_RECORDING_FOLDER      1026
#define IDC_BROWSE_FOLDER         1027
#define IDC_FREE_SPACE_LABEL      1551
#define IDC_FREE_SPACE            1552
#define IDC_SIZE_LIMIT_LABEL      1553
#define IDC_SIZE_PRESET           1554
#define IDC_SIZE_LIST             1555
#define IDC_SIZE_CUSTOM           1556
#define IDC_SIZE_CUSTOM_EDIT      1557
#define IDC_SIZE_UNIT             1558
#define IDC_STOP_LABEL            1559
#define IDC_STOP_NEVER            1560
#define IDC_STOP_AFTER            1561
#define IDC_STOP_NO_VIDEO         1562
#define IDC_STOP_HOURS            1563
#define IDC_STOP_HOURS_SPIN       1564
#define IDC_STOP_MINUTES          1565
#define IDC_STOP_MINUTES_SPIN     1566
#define IDC_STOP_SECONDS          1567
#define IDC_STOP_SECONDS_SPIN     1568
#define IDC_NO_VIDEO_SECONDS      1569
#define IDC_NO_VIDEO_SPIN         1570
#define IDC_NO_VIDEO_UNIT         1571
#define IDC_AUTO_RECORD           1572
#define IDC_ASK_FILE_NAME         1573

// Main window: settings page 2, television channels.
#define IDC_TV_ANTENNA            1580
#define IDC_TV_CABLE              1581
#define IDC_TV_AUDIO              1582
#define IDC_CHANNEL_RENAME        1583
#define IDC_CHANNEL_DELETE        1584
#define IDC_COUNTRY_LABEL         1585
#define IDC_COUNTRY               1586
#define IDC_STANDARD_LABEL        1587
#define IDC_STANDARD              1588
#define IDC_CHANNEL_LIST          1589
#define IDC_CHANNEL_DISPLAY       1590
#define IDC_CHANNEL_UP            1591
#define IDC_CHANNEL_DOWN          1592
#define IDC_DIGIT_0               1600
#define IDC_DIGIT_1               1601
#define IDC_DIGIT_2               1602
#define IDC_DIGIT_3               1603
#define IDC_DIGIT_4               1604
#define IDC_DIGIT_5               1605
#define IDC_DIGIT_6               1606
#define IDC_DIGIT_7               1607
#define IDC_DIGIT_8               1608
#define IDC_DIGIT_9               1609
#define IDC_CHANNEL_SCAN          1610
#define IDC_SCAN_PROGRESS         1611
#define IDC_CHANNEL_NAME          1612
#define IDC_FINE_TUNE_LABEL       1613
#define IDC_FINE_TUNE_SLIDER      1151
#define IDC_FINE_TUNE_VALUE       1614
#define IDC_FINE_TUNE_SPIN        1615
#define IDC_REMOTE_SETUP          1616
#define IDC_REMOTE_STATUS         1617

// Main window: settings page 3, colour.
#define IDC_BRIGHTNESS_LABEL      1640
#define IDC_BRIGHTNESS            1641
#define IDC_BRIGHTNESS_VALUE      1642
#define IDC_CONTRAST_LABEL        1643
#define IDC_CONTRAST              1644
#define IDC_CONTRAST_VALUE        1645
#define IDC_HUE_LABEL             1646
#define IDC_HUE                   1647
#define IDC_HUE_VALUE             1648
#define IDC_SATURATION_LABEL      1649
#define IDC_SATURATION            1650
#define IDC_SATURATION_VALUE      1651
#define IDC_COLOR_DEFAULTS        1652

// Companion dialogs. Every companion dialog carries its title as control IDC_DIALOG_TITLE.
#define IDC_DIALOG_TITLE          1699
#define IDC_ABOUT_VERSION_1       1701
#define IDC_ABOUT_VERSION_2       1702
#define IDC_ABOUT_DESCRIPTION     1703
#define IDC_ABOUT_COPYRIGHT       1704
#define IDC_ABOUT_CHECK_UPDATE    1705
#define IDC_DETECT_STATUS         1711
#define IDC_DETECT_PROGRESS       1712
#define IDC_DROP_MESSAGE          1721
#define IDC_DROP_BITRATE_SLIDER   1722
#define IDC_DROP_BITRATE_EDIT     1723
#define IDC_DROP_BITRATE_UNIT     1724
#define IDC_DROP_IGNORE           1725
#define IDC_SNAP_FRAME            1731
#define IDC_SNAP_PICTURE          1732
#define IDC_SNAP_SAVE             1733
#define IDC_SAP_ENABLE            1741
#define IDC_SAP_LANGUAGE_A        1742
#define IDC_SAP_LANGUAGE_B        1743
#define IDC_SAP_STEREO            1744
#define IDC_RECON_MESSAGE         1751
#define IDC_TIMED_MESSAGE         1761
#define IDC_TIMED_COUNTDOWN       1762
#define IDC_RC_INSTRUCTION        1771
#define IDC_RC_STATUS             1772
#define IDC_RC_LEARN              1773
#define IDC_UPDATE_STATUS         1781
#define IDC_UPDATE_PROMPT         1791
#define IDC_UPDATE_ALLOW          1792
#define IDC_TEMPLATE_NAME_LABEL   1801
#define IDC_TEMPLATE_NAME         1802

// Auxiliary bitmaps of "MainDialog" (QorAuxBitmapFilename EntryId).
#define AUX_IDLE_PICTURE          1
#define AUX_LAUNCHER_ICON         2
#define AUX_PREVIEW_DISABLED      3
#define AUX_PLACEHOLDER_THUMBNAIL 4

// Transparent colour of every Marovin dialog background (COLORREF of pure red).
#define SKIN_TRANSPARENT_COLOR    255
