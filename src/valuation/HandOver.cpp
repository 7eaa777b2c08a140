#include "valuation/HandOver.h"

TValuationHandOver HandOverFromSummary(const TSummary& s, const TCoefficientTable& psr,
                                       const QString& psrRowText, const TCoefficientTable& agro,
                                       bool sourceIsValuation) {
    TValuationHandOver h;
    h.EFileTerrCode = s.FileTerrCode;
    h.EFileTerrID = s.FileTerrID;
    h.EFileObl = s.FileObl;
    h.EFileKoatuu = s.FileKoatuu;
    h.EFileRaion = s.FileRaion;
    h.EFileRada = s.FileRada;
    h.EFileSq = s.FileSq;
    h.EFileCadnum = s.FileCadnum;
    h.EFileYear = s.FileYear;
    h.EFilePopul = s.FilePopul;
    h.EFileNrd = s.FileNrd;
    h.EFileKm1 = s.FileKm1;
    h.EFileKm2 = s.FileKm2;
    h.EFileKm3 = s.FileKm3;
    h.EFileKmc1 = s.FileKmc1;
    h.EFileKmcI = s.FileKmcI;
    h.EFileKmcH = s.FileKmcH;
    h.EFileKmcN = s.FileKmcN;
    h.EFileKls = s.FileKls;
    h.EFileRaNo = s.FileRaNo;
    h.EFileRaKm4 = s.FileRaKm4;
    h.EFileRaKlk = s.FileRaKlk;
    h.EFileApproveBy = s.ApproveBy;
    h.EFileApproveDt = s.ApproveDt;
    h.EFileApproveNo = s.ApproveNo;
    h.CBBlockCreateApprove = s.BlockCreateApprove;
    h.CBBlockCreateTerrZona = s.BlockCreateTerrZona;
    QList<QStringList> psrRows;
    for (int r = 0; r < psr.RowCount(); ++r)
        psrRows << psr.RowCells(r);
    h.EPSRNdx = psrRowText;
    h.PsrRow = RowByNumberText(psrRows, psrRowText);
    for (int r = 0; r < agro.RowCount(); ++r)
        h.AgroRows << agro.RowCells(r);
    h.RBOrganFromDB = s.OrganFromDB;
    h.EDefLicenziat = s.Organisation;
    h.CBSrcZemXML = !sourceIsValuation;
    h.CBSrcNGOXML = sourceIsValuation;
    return h;
}
