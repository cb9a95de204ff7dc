// What the end-to-end tests share on top of the simulated world: reading and finding a window's
// controls, running a window's command as its button does, waiting on virtual time, and the check that
// every test ends with each event record of the host library given back.
#pragma once

#include "platform/DialogItems.h"
#include "profiles/base/CChildFrame.h"
#include "support/SimFixture.h"

#include <functional>
#include <stdexcept>

class E2eFixture : public SimFixture {
protected:
    void TearDown() override {
        EXPECT_TRUE(EveryRecordGivenBack());
        SimFixture::TearDown();
    }

    // The profile window accessor gives once the peer showing text is connected, in the built-in world or
    // a world of peers. Without one the test fails there: the exception thrown is reported as its failure.
    template <class Window>
    Window* Open(const QString& text, Window* (CMainFrame::*accessor)() const,
                 const std::string& peers = {}) {
        Window* window = ConnectedWindow(peers, text, accessor);
        if (!window)
            throw std::runtime_error("no window for " + text.toStdString());
        return window;
    }
    static QString Text(const QWidget* window, UINT id) { return platform::GetDlgItemText(window, id); }
    template <class Control> static Control* Item(const QWidget* window, UINT id) {
        return qobject_cast<Control*>(platform::GetDlgItem(window, id));
    }
    bool Run(CChildFrame* window, UINT id) {
        return Frame()->Router().execute(window->GetCommandTarget(), id);
    }
    // What state() returns after each step of step ms, for ms.
    template <class State>
    std::vector<State> Samples(uint64_t ms, uint64_t step, std::function<State()> state) {
        std::vector<State> samples;
        for (uint64_t t = 0; t < ms; t += step) {
            Advance(step);
            samples.push_back(state());
        }
        return samples;
    }
    // Advances in steps of step ms until done() holds, at most ms; whether it held.
    template <class Done> bool AdvanceUntil(Done done, uint64_t ms = 10000, uint64_t step = 100) {
        for (uint64_t waited = 0; waited < ms && !done(); waited += step)
            Advance(step);
        return done();
    }
};
