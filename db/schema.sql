-- ZUL database. Column order matters: Prestamo and PrestamoCuota are filled by
-- INSERTs without a column list. Text keys and comparisons use the JET collation
-- (case-insensitive, accented capitals paired with their small letters).

CREATE TABLE Empresa (
    Emp_Id          INTEGER NOT NULL PRIMARY KEY,
    Emp_Nombre      TEXT COLLATE JET,
    Emp_Domicilio   TEXT COLLATE JET,
    Emp_Localidad   TEXT COLLATE JET,
    Emp_CUIT        TEXT COLLATE JET,
    Emp_Telefono    TEXT COLLATE JET,
    emp_rptDJ1      TEXT COLLATE JET,
    emp_rptDJ2      TEXT COLLATE JET,
    emp_emaild      TEXT COLLATE JET,
    emp_fecini      DATE,
    emp_perjur      INTEGER,
    emp_rubro       INTEGER,
    emp_empresanro  INTEGER
);

CREATE TABLE Categoria (
    Cat_Id      TEXT COLLATE JET NOT NULL PRIMARY KEY,
    Cat_Nombre  TEXT COLLATE JET
);

CREATE TABLE Empleo (
    emp_codigo  INTEGER NOT NULL,
    emp_catego  TEXT COLLATE JET NOT NULL,
    emp_antigu  INTEGER NOT NULL,
    emp_nombre  TEXT COLLATE JET,
    emp_sueldo  REAL,
    PRIMARY KEY (emp_codigo, emp_catego, emp_antigu)
);

CREATE TABLE Empleado (
    Ado_Id            INTEGER NOT NULL,
    Ado_Nombre        TEXT COLLATE JET,
    Ado_FechaNac      DATE,
    Ado_Cuil          TEXT COLLATE JET,
    Ado_FechaIng      DATE,
    Ado_Sueldo        REAL,
    Ado_Categoria     TEXT COLLATE JET,
    Ado_Aporte2       INTEGER,
    Ado_Aporte25      INTEGER,
    Ado_Aporte1       INTEGER,
    Ado_AporteCS      INTEGER,
    Ado_FechaEgreso   DATE,
    Ado_Empleo        INTEGER,
    Ado_Afiliado      INTEGER,
    ado_IdEmpresa     INTEGER NOT NULL,
    ado_observ        TEXT COLLATE JET,
    ado_motivoegreso  INTEGER,
    ado_horas         REAL,
    Ado_Remunera      REAL,
    Ado_noRemunera    REAL,
    PRIMARY KEY (ado_IdEmpresa, Ado_Id)
);

CREATE TABLE DDJJ (
    DDJJ_Id           INTEGER NOT NULL PRIMARY KEY,
    DDJJ_Periodo      DATE,
    DDJJ_Fecha        DATE,
    DDJJ_Vencimiento  DATE,
    DDJJ_NroIns       INTEGER,
    DDJJ_CantEmp      INTEGER,
    DDJJ_TotalRemu    REAL,
    DDJJ_2Remu        REAL,
    DDJJ_Farmacia     REAL,
    DDJJ_Amec         REAL,
    DDJJ_Cuota        REAL,
    DDJJ_Total        REAL,
    DDJJ_ValorCuota   REAL,
    DDJJ_Tope         REAL,
    DDJJ_Prestamo     REAL,
    DDJJ_Amec3        REAL,
    ddjj_idempresa    INTEGER,
    DDJJ_CODBAR       VARCHAR(32),
    DDJJ_fcodbar      VARCHAR(32)
);
-- One declaration per company and month.
CREATE UNIQUE INDEX DDJJ_EmpresaPeriodo ON DDJJ (ddjj_idempresa, DDJJ_Periodo);

CREATE TABLE EmpleadoXDDJJ (
    ExD_IdDDJJ      INTEGER NOT NULL,
    ExD_IdEmpleado  INTEGER NOT NULL,
    ExD_Sueldo      REAL,
    ExD_Aporte2     INTEGER,
    ExD_AporteFar   INTEGER,
    ExD_AporteAmec  INTEGER,
    ExD_Cuota       INTEGER,
    ExD_IdCatego    INTEGER,
    ExD_Afiliado    INTEGER,
    ExD_Prestamo    REAL,
    ExD_idempresa   INTEGER
);
CREATE INDEX EmpleadoXDDJJ_DDJJ ON EmpleadoXDDJJ (ExD_IdDDJJ);

CREATE TABLE Bajas (
    Baj_DDJJ        INTEGER NOT NULL,
    Baj_Empleado    INTEGER NOT NULL,
    Baj_FecEgreso   DATE,
    Baj_Sueldo      REAL,
    Baj_IdCatego    INTEGER,
    baj_idempresa   INTEGER
);
CREATE INDEX Bajas_DDJJ ON Bajas (Baj_DDJJ);
CREATE INDEX Bajas_Empresa ON Bajas (baj_idempresa, Baj_Empleado);

CREATE TABLE Prestamo (
    pre_Id          INTEGER NOT NULL,
    pre_idEmpleado  INTEGER,
    pre_importe     REAL,
    pre_cuotas      INTEGER,
    pre_Fecha       DATE,
    pre_Fechaven1   DATE,
    pre_IdEmpresa   INTEGER NOT NULL,
    PRIMARY KEY (pre_IdEmpresa, pre_Id)
);

CREATE TABLE PrestamoCuota (
    pcu_idPrestamo  INTEGER NOT NULL,
    pcu_nrocuota    INTEGER NOT NULL,
    pcu_idempleado  INTEGER,
    pcu_importe     REAL,
    pcu_fechaven    DATE,
    pcu_IdEmpresa   INTEGER NOT NULL
);
CREATE INDEX PrestamoCuota_Empleado ON PrestamoCuota (pcu_IdEmpresa, pcu_idempleado);

CREATE TABLE impresoras (
    imp_equipo  TEXT COLLATE JET NOT NULL PRIMARY KEY,
    imp_ticket  TEXT COLLATE JET,
    imp_factua  TEXT COLLATE JET,
    imp_factub  TEXT COLLATE JET,
    imp_otros   TEXT COLLATE JET
);

CREATE TABLE rubros (
    codigo       INTEGER NOT NULL PRIMARY KEY,
    descripcion  TEXT COLLATE JET
);
