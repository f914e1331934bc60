# The core tests scripts/test-windows.sh leaves out under wine, each for a
# reason of the test, not of the program (sourced: sets excluded_tests).
excluded_tests=(
    # Arguments of 100,000 characters: a Windows command line holds 32,767.
    'CliOptions.MessagesQuoteTheUsersTextCutAndEscaped'
    'ComfortCli.RefusesHugeTexts'
    'ConvertCli.RefusesWithTheWindowsMessages'
    # They read the workbooks back with Python (openpyxl), a Linux program;
    # test-windows.sh compares the Windows workbooks' cells with the Linux
    # build's instead.
    'WorkbookTest.*'
    'SegmentLoopsWorkbook.SecondSheetReadBack'
    'CliLoopsTest.RefusalsAndTheWorkbooksSheet'
    'CliWeather.ChartAndBinFilesAreWritten'
    'BinTableFiles.WorkbookHasOneSheetPerTableWithTheHeading'
    # They check the PDFs with qpdf and pdftotext, Linux programs.
    'PdfTextLayer.*'
    # A symbolic link that leads nowhere: Windows makes a shortcut file of it.
    'AppDataDir.SeedingTouchesNothingButTheMissingFile'
    # Label places and crops measured with the Linux fonts (Noto CJK through
    # fontconfig); under wine the system's font engine sets the text.
    'ChartDrawingTest.MoistureScaleLabelsStandAboveTheTopEdge'
    'ChartExport.EachFormatHoldsThePicture'
    'ChartExport.ExportsAreCroppedToTheDrawing'
    # The window program's own command line: a Windows program with windows
    # has no console to print its help to (Qt answers in a message box).
    'CommandLine.*'
)
