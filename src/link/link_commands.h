// The Read, Write, Compare with Radio and Communication port commands of the main frame.
#pragma once

class CHalvexApp;
class CMainFrame;

void InstallLinkCommands(CHalvexApp& app, CMainFrame& frame);
