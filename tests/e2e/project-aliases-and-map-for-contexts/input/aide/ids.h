#define IDH_ENREGISTRER 1001 // save
#define IDH_OUVRIR 0x3EA
#  define IDH_FICHIER   1000 /* page */
#define IDH_OCTAL 010
#define BAD(x) 5
