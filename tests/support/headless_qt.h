#pragma once

#include <QString>
#include <QtGlobal>

namespace pagelark::testing {

// Warnings that a run without a desktop causes by itself, with nothing to do
// with the program: the offscreen platform cannot pass size hints on, there
// may be no sound device and no runtime folder.
inline bool isHeadlessNoise(QtMsgType type, const QString& message)
{
    return type == QtWarningMsg
        && (message == QLatin1String("This plugin does not support propagateSizeHints()")
            || message == QLatin1String("PulseAudioService: pa_context_connect() failed")
            || message == QLatin1String("No audio device detected")
            || message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")));
}

inline QtMessageHandler qtDefaultMessageHandler = nullptr;

// Lets every message of Qt's through but that noise.
inline void installHeadlessMessageFilter()
{
    qtDefaultMessageHandler
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
              if (!isHeadlessNoise(type, message))
                  qtDefaultMessageHandler(type, context, message);
          });
}

}  // namespace pagelark::testing
