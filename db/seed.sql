-- Rows every new database starts with: the activity sectors and the firm's own row,
-- which names the report templates shipped beside the program.
INSERT INTO rubros (codigo, descripcion) VALUES
    (1, 'Agricultura y ganadería'),
    (2, 'Comercio mayorista'),
    (3, 'Comercio minorista'),
    (4, 'Construcción'),
    (5, 'Educación'),
    (6, 'Hotelería y gastronomía'),
    (7, 'Industria manufacturera'),
    (8, 'Salud'),
    (9, 'Servicios profesionales'),
    (10, 'Servicios financieros y seguros'),
    (11, 'Transporte y almacenamiento'),
    (12, 'Inmobiliarias');

INSERT INTO Empresa (Emp_Id, Emp_Nombre, Emp_Domicilio, Emp_Localidad, Emp_CUIT, Emp_Telefono,
                     emp_rptDJ1, emp_rptDJ2, emp_emaild)
    VALUES (0, '', '', '', '', '', 'DDJJ.rpt', 'Cupon.rpt', '');
