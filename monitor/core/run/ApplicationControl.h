#pragma once
// Ending the program in order: the running loop (the event loop or the
// scenario runner) stops and the orderly end (FormDestroy) follows.

class ApplicationControl {
public:
    virtual ~ApplicationControl() = default;
    virtual void requestTerminate() = 0;
    virtual bool terminateRequested() const = 0;
};

// Termination as a flag, for runs that drive their own loop.
class TerminateFlag : public ApplicationControl {
public:
    void requestTerminate() override { m_requested = true; }
    bool terminateRequested() const override { return m_requested; }

private:
    bool m_requested = false;
};
