#pragma once

// A frame showing one new document window, with scripted dialogs.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/text_mode.h"
#include "store/options.h"
#include "ui/dialog_script.h"
#include "ui/document_window.h"
#include "ui/main_frame.h"

namespace vetra::test {

struct TWindow_Fixture {
    TDialog_Script script;
    TOptions options{1920, 1080};
    std::unique_ptr<TForm_Main_Vetra> frame;
    TForm_Qo_Tree* window = nullptr;

    explicit TWindow_Fixture(const std::string& optionsDir) {
        setActiveTextMode(1);
        TDialog_Script::activate(&script);
        options.File_Name = ::testing::TempDir() + optionsDir + "/qoopt.qoo";
        frame = std::make_unique<TForm_Main_Vetra>(options, createDocumentWindow);
        frame->resize(1000, 700);
        frame->show();
        frame->newDocument();
        window = qobject_cast<TForm_Qo_Tree*>(frame->activeDocumentWindow());
    }
    ~TWindow_Fixture() {
        for (QWidget* w : frame->documentWindows()) w->setProperty("closeQueryDone", true);
        frame.reset();
        TDialog_Script::activate(nullptr);
    }
    void select(TTree_Node* node) {
        window->currentRoot()->clearSelection();
        node->setSelected(true);
    }
};

}  // namespace vetra::test
