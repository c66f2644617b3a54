#include "tools/CScaleLineRig.h"

#include "download/DownloadLabels.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

CScaleLineRig::CScaleLineRig(CPluTable& table, IPrompt& prompt, const SScaleOptions& options)
    : scale(options)
    , session(table, line, prompt)
{
    const auto show = [this](const QString& text) {
        label = text;
        labels << text;
    };
    QObject::connect(&session, &CDownloadSession::progress, &session,
                     [show](int done, int total) { show(DownloadLabels::Progress(done, total)); });
    QObject::connect(&session, &CDownloadSession::finished, &session,
                     [this, show](bool success, int row, const QString& reason) {
                         show(DownloadLabels::Outcome(success));
                         toolTip = reason;
                         failedRow = success ? -1 : row;
                         answeredAtEnd = scale.RecordsAnswered();
                     });
}

bool CScaleLineRig::StartScale(QString* error)
{
    return scale.Start(error);
}

bool CScaleLineRig::ReplaceScale(const SScaleOptions& options, QString* error)
{
    scale.Stop();
    scale.SetOptions(options);
    return scale.Start(error);
}

CDownloadSession::EStart CScaleLineRig::Start(int baudRate, int textCodePage)
{
    label.clear();
    toolTip.clear();
    failedRow = -1;
    labels.clear();
    answeredAtEnd = -1;
    SDownloadRequest request;
    request.devicePath = scale.DevicePath();
    request.baudRate = baudRate;
    request.textCodePage = textCodePage;
    return session.Start(request);
}

bool CScaleLineRig::WaitForEnd(int timeoutMs)
{
    QEventLoop loop;
    QTimer check;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (HasEnded() || waited.elapsed() > timeoutMs)
            loop.quit();
    });
    check.start(1);
    loop.exec();
    return HasEnded();
}
