# An unattended walk through the wizard: language, agreement, destination,
# Install, and Finish once the installation has ended.
choose Combo1 English
click Command2
click Option1
click Command2
type Text2 C:\Program Files\ZOV Zuzuzu Rudavero 5
click Command2
click Command2
