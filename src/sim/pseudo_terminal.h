// SPDX-License-Identifier: GPL-3.0-or-later
// The pseudo-terminal a virtual radio listens on, and the link that gives its slave
// device a port name. The radio keeps a slave descriptor of its own open, so the master
// never sees a hang-up when the program closes and reopens the port.
#pragma once

#include <string>

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a raw, non-blocking master and its slave.
    bool Open(std::string* error);
    // Points linkPath at the slave, creating its directory and replacing an older link;
    // refuses to replace anything that is not a symbolic link. A lock file beside the link
    // (linkPath + ".lock"), created for the purpose, is held while linked: a link whose lock
    // is free was left by a radio that died and is replaced, one whose lock is held is
    // refused, and a file of that name that is no lock of ours is left alone and refused.
    bool Link(const std::string& linkPath, std::string* error);
    // Removes the link, unless someone has pointed it elsewhere meanwhile, and the lock.
    void Unlink();
    void Close();

    int MasterDescriptor() const { return m_Master; }
    const std::string& SlavePath() const { return m_SlavePath; }

private:
    int m_Master = -1;
    int m_Slave = -1;
    std::string m_SlavePath;
    std::string m_LinkPath;
    int m_LockFd = -1;
};
