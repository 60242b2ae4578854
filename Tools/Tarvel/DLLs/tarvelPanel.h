// A panel's life from _CreateAsChild to _Destroy, the same in both panel libraries. A host may
// call the exports again from inside one of its callbacks, even _Destroy, and its own messages
// go on while a question, a dialog or a modal run of the panel waits. So a panel counts itself
// busy while any of these runs, and while an export runs on it; a _Destroy meanwhile only
// retires it (the host hears nothing more from it) and it is deleted once nothing of it runs.
#pragma once
#include <type_traits>
#include <vector>

class TTarvelPanel {
public:
    virtual ~TTarvelPanel() = default;

    bool Busy() const { return busy_ > 0; }
    bool Retired() const { return retired_; }

    // Counts the panel busy for the guard's life.
    class TBusy {
    public:
        explicit TBusy(TTarvelPanel& panel) : panel_(panel) { panel_.busy_++; }
        ~TBusy() { panel_.busy_--; }
        TBusy(const TBusy&) = delete;
        TBusy& operator=(const TBusy&) = delete;

    private:
        TTarvelPanel& panel_;
    };

    // Calls a host callback, when one is registered, with the panel busy meanwhile; without one
    // the answer is `none`.
    template <class Result, class... Params, class... Args>
    Result Fire(Result (*callback)(Params...), std::type_identity_t<Result> none, Args... args)
    {
        if (!callback)
            return none;
        TBusy busy(*this);
        return callback(args...);
    }
    template <class... Params, class... Args> void Fire(void (*callback)(Params...), Args... args)
    {
        if (!callback)
            return;
        TBusy busy(*this);
        callback(args...);
    }

protected:
    // Taken from the host: every callback dropped, out of the host's sight or modal run.
    virtual void Retire() = 0;

private:
    template <class> friend class TTarvelPanels;
    int busy_ = 0;
    bool retired_ = false;
};

// The library's live panel, which the exports reach, and the panels retired while busy. The live
// panel's pointer is the library's own variable, so that its tests see it too.
template <class Panel> class TTarvelPanels {
public:
    explicit TTarvelPanels(Panel*& live) : live_(live) {}
    TTarvelPanels(const TTarvelPanels&) = delete;
    TTarvelPanels& operator=(const TTarvelPanels&) = delete;

    Panel* Live() const { return live_; }

    // _CreateAsChild: a new live panel, made by `create` (which answers false when it could not
    // make its window: that panel goes again). The live panel stays when there is one.
    template <class Create> Panel* Make(Create create)
    {
        if (live_)
            return live_;
        DeleteIdle();
        Panel* panel = new Panel();
        if (!create(panel)) {
            delete panel;
            return nullptr;
        }
        live_ = panel;
        return panel;
    }

    // Runs an export on the live panel, when there is one, with the panel busy meanwhile.
    // Panels retired meanwhile go once nothing of theirs runs any more.
    template <class Export> void Run(Export call)
    {
        Panel* panel = live_;
        if (!panel)
            return;
        {
            TTarvelPanel::TBusy busy(*panel);
            call(panel);
        }
        DeleteIdle();
    }

    // An export that hands the live panel what the host passed: a record, or a text the panel
    // keeps as a string. A null pointer is ignored.
    template <class Arg, class Param> void Hand(const Arg* arg, void (Panel::*take)(const Param&))
    {
        if (!arg)
            return;
        Run([arg, take](Panel* panel) {
            if constexpr (std::is_same_v<Arg, char>)
                (panel->*take)(Param(arg));
            else
                (panel->*take)(*arg);
        });
    }

    // A _Register...Callback export: the live panel takes the callback (null drops it).
    template <class Callback> void Register(Callback Panel::*slot, Callback callback)
    {
        if (live_)
            live_->*slot = callback;
    }

    // _Destroy: the live panel goes, now or, when busy, once nothing of it runs.
    void Destroy()
    {
        Panel* panel = live_;
        live_ = nullptr;
        DeleteIdle();
        if (!panel)
            return;
        if (!panel->Busy()) {
            delete panel;
            return;
        }
        TTarvelPanel& base = *panel;  // Retire() is the panel's own, reached as its base's
        base.retired_ = true;
        base.Retire();
        retired_.push_back(panel);
    }

    // Unloading the library: every panel goes, busy or not.
    void DestroyAll()
    {
        Destroy();
        for (Panel* panel : retired_)
            delete panel;
        retired_.clear();
    }

private:
    // Deletes the retired panels that are no longer busy; the others wait on.
    void DeleteIdle()
    {
        std::vector<Panel*> waiting;
        waiting.swap(retired_);
        for (Panel* panel : waiting) {
            if (panel->Busy())
                retired_.push_back(panel);
            else
                delete panel;
        }
    }

    Panel*& live_;
    std::vector<Panel*> retired_;
};
