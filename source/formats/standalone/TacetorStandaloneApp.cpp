#include "TacetorStandaloneApp.h"

TacetorStandaloneApp::TacetorStandaloneApp()
{
    juce::PropertiesFile::Options options;
    options.applicationName = getApplicationName();
    options.filenameSuffix = ".settings";
    options.folderName = "~/.config";
    properties_.setStorageParameters (options);
}

const juce::String TacetorStandaloneApp::getApplicationName()
{
    return juce::CharPointer_UTF8 (JucePlugin_Name);
}

const juce::String TacetorStandaloneApp::getApplicationVersion()
{
    return JucePlugin_VersionString;
}

bool TacetorStandaloneApp::moreThanOneInstanceAllowed()
{
    return true;
}

void TacetorStandaloneApp::anotherInstanceStarted (const juce::String&)
{
}

void TacetorStandaloneApp::initialise (const juce::String&)
{
    window_ = std::make_unique<TacetorStandaloneWindow> (getApplicationName(), properties_.getUserSettings());
    window_->setVisible (true);
}

void TacetorStandaloneApp::shutdown()
{
    window_ = nullptr;
    properties_.saveIfNeeded();
}

void TacetorStandaloneApp::systemRequestedQuit()
{
    if (window_ != nullptr)
        window_->pluginHolder->savePluginState();

    // A dialog (the audio settings) closes first; the quit is asked again once it has.
    if (juce::ModalComponentManager::getInstance()->cancelAllModalComponents())
        juce::Timer::callAfterDelay (100, []
                                     {
            if (auto* app = juce::JUCEApplicationBase::getInstance())
                app->systemRequestedQuit(); });
    else
        quit();
}

juce::JUCEApplicationBase* juce_CreateApplication()
{
    return new TacetorStandaloneApp();
}
