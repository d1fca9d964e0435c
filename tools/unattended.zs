# An unattended run: the installer starts and its window is closed.
close Form1
