// SPDX-License-Identifier: GPL-3.0-or-later
// The pages of the main view as a feature's commands reach them. The view builds on the
// pages, so the commands ask through this rather than through the view's own header.
#pragma once

class CChannelPage;
class CFunctionPage;

class ViewPages {
public:
    // The page of each kind; null until the first document has created the pages.
    virtual CChannelPage* ChannelPage() const = 0;
    // The channel page while it is in front, else null: channel commands act only where the
    // user is looking.
    virtual CChannelPage* ShownChannelPage() const = 0;
    virtual CFunctionPage* FunctionPage() const = 0;
    // The channel page in front, its focus cell kept.
    virtual void ShowChannelPage() = 0;

protected:
    ~ViewPages() = default;
};
