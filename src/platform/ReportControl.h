#pragma once
// The report control: runs a report file (a Mustache template of HTML) for the rows that a
// selection formula picks, either printing it or exporting it to a file. Settings are kept
// until changed, as the declaration window relies on.
// (First version of the interface: the printer settings. The rest is being built.)

#include <QString>

namespace zul {

class ReportControl {
public:
    void setPrinterDriver(const QString& driver) { printerDriver_ = driver; }
    void setPrinterName(const QString& nombre) { printerName_ = nombre; }
    void setPrinterPort(const QString& puerto) { printerPort_ = puerto; }
    QString printerDriver() const { return printerDriver_; }
    QString printerName() const { return printerName_; }  // "" = the system's default printer
    QString printerPort() const { return printerPort_; }

private:
    QString printerDriver_;
    QString printerName_;
    QString printerPort_;
};

}  // namespace zul
